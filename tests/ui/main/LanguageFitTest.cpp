// Every window, dialog and menu in every language: the texts of the fixed-size controls fit
// their controls, and a picture of each goes to build/screenshots/ for a look.
#include "MainFormFixture.h"
#include "ui/about/AboutForm.h"
#include "ui/chat/ChatForm.h"
#include "ui/config/ConfigForm.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTranslator>

namespace {

QString binaryDir()
{
    return qEnvironmentVariable("TOLVEX_BINARY_DIR");
}

// What of a control's text does not fit, or empty.
QString clipped(const QWidget &w)
{
    const QRect room = w.contentsRect();
    if (const auto *label = qobject_cast<const QLabel *>(&w)) {
        if (label->text().isEmpty() || !label->pixmap().isNull())
            return {};
        if (label->wordWrap()) {
            const int needed = label->heightForWidth(w.width());
            return needed > w.height()
                       ? QStringLiteral("%1 px high in %2").arg(needed).arg(w.height())
                       : QString();
        }
        // Widths only: the line height is the font's in every language.
        const int needed = QFontMetrics(label->font()).size(0, label->text()).width();
        return needed > room.width()
                   ? QStringLiteral("%1 px wide in %2").arg(needed).arg(room.width())
                   : QString();
    }
    if (const auto *check = qobject_cast<const QCheckBox *>(&w)) {
        const int needed = check->sizeHint().width();
        return needed > w.width() ? QStringLiteral("%1 px wide in %2").arg(needed).arg(w.width())
                                  : QString();
    }
    if (const auto *button = qobject_cast<const QPushButton *>(&w)) {
        if (button->text().isEmpty())
            return {};
        const int needed = QFontMetrics(button->font()).horizontalAdvance(button->text());
        return needed > room.width()
                   ? QStringLiteral("%1 px wide in %2").arg(needed).arg(room.width())
                   : QString();
    }
    return {};
}

void expectFits(QWidget &window, const QString &language, const QString &name)
{
    window.ensurePolished();
    for (QWidget *w : window.findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&window))
            continue;
        const QString problem = clipped(*w);
        const QString text = qobject_cast<QLabel *>(w) ? qobject_cast<QLabel *>(w)->text()
                             : qobject_cast<QAbstractButton *>(w)
                                 ? qobject_cast<QAbstractButton *>(w)->text()
                                 : QString();
        EXPECT_TRUE(problem.isEmpty())
            << language.toStdString() << " " << name.toStdString() << ": \"" << text.toStdString()
            << "\" " << problem.toStdString();
    }
    // Controls that size themselves to their text must stay inside the window and off
    // their neighbours.
    QList<QWidget *> texts;
    for (QWidget *w : window.findChildren<QWidget *>()) {
        const auto *label = qobject_cast<QLabel *>(w);
        const auto *button = qobject_cast<QAbstractButton *>(w);
        if (w->isVisibleTo(&window) &&
            ((label && !label->text().isEmpty() && label->pixmap().isNull()) ||
             (button && !button->text().isEmpty())))
            texts.append(w);
    }
    for (QWidget *w : texts) {
        const QRect area(w->mapTo(&window, QPoint()), w->size());
        EXPECT_TRUE(window.rect().contains(area))
            << language.toStdString() << " " << name.toStdString() << ": "
            << w->objectName().toStdString() << " leaves the window";
        for (QWidget *other : texts) {
            if (other != w && other->parentWidget() == w->parentWidget() && w < other) {
                EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                    << language.toStdString() << " " << name.toStdString() << ": "
                    << w->metaObject()->className() << " and " << other->metaObject()->className()
                    << " overlap";
            }
        }
    }
    QDir().mkpath(binaryDir() + QStringLiteral("/screenshots"));
    window.grab().save(
        QStringLiteral("%1/screenshots/lang-%2-%3.png").arg(binaryDir(), language, name));
}

void expectMenuShown(QMenu &menu, const QString &language, const QString &name)
{
    for (QAction *a : menu.actions())
        EXPECT_TRUE(a->isSeparator() || !a->text().isEmpty()) << language.toStdString();
    menu.adjustSize();
    // A menu grows with its texts; it must still open beside the window on a small screen.
    EXPECT_LE(menu.sizeHint().width(), 320) << language.toStdString() << " " << name.toStdString();
    QDir().mkpath(binaryDir() + QStringLiteral("/screenshots"));
    menu.grab().save(
        QStringLiteral("%1/screenshots/lang-%2-%3.png").arg(binaryDir(), language, name));
}

class LanguageFitTest : public MainFormFixture, public ::testing::WithParamInterface<const char *>
{};

} // namespace

TEST_P(LanguageFitTest, EveryCaptionFitsItsControl)
{
    const QString language = QString::fromLatin1(GetParam());
    QTranslator translator;
    if (language != QLatin1String("en")) {
        ASSERT_TRUE(translator.load(QStringLiteral("tolvex_") + language,
                                    binaryDir() + QStringLiteral("/share/tolvex/translations")));
        QCoreApplication::installTranslator(&translator);
    }
    writeSettings();
    TMainForm &form = start();
    form.show();
    expectFits(form, language, QStringLiteral("main"));
    TChatForm &chat = form.ChatForm();
    chat.show();
    expectFits(chat, language, QStringLiteral("chat"));
    {
        TConfigForm config(form.Engine(), form);
        expectFits(config, language, QStringLiteral("configuration"));
    }
    {
        TAboutForm about;
        expectFits(about, language, QStringLiteral("about"));
    }
    expectMenuShown(*form.UserPopup(), language, QStringLiteral("user-menu"));
    expectMenuShown(*form.TrayPopup(), language, QStringLiteral("program-menu"));
    expectMenuShown(*form.ChannPopup(), language, QStringLiteral("channel-menu"));
    expectMenuShown(*chat.UtilsPopup(), language, QStringLiteral("chat-menu"));
    if (language != QLatin1String("en")) {
        EXPECT_NE(form.TrayPopup()->actions().first()->text(), QStringLiteral("Restore Tolvex"))
            << "the catalogue was not used";
    }
    QCoreApplication::removeTranslator(&translator);
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageFitTest,
                         ::testing::Values("en", "de", "fr", "es", "it", "pt_BR", "nl"),
                         [](const auto &info) { return std::string(info.param); });
