#include "ui/config/CodePageGuard.h"

#include "engine/Cp1252.h"
#include "ui/WindowLook.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

// Each "|" goes out as CR LF.
qsizetype wireLength(const QString &text)
{
    return text.size() + text.count(QLatin1Char('|'));
}

// The tip colour of the application (RGB 228, 231, 237).
constexpr quint32 kNoticeColor = 15591396;

} // namespace

CodePageGuard::CodePageGuard(QLineEdit &edit, qsizetype wireLimit)
    : QValidator(&edit), m_edit(edit), m_wireLimit(wireLimit), m_notice(new QLabel(edit.window())),
      m_hide(new QTimer(this))
{
    // A label of the window, not a tool tip: a tip goes with the next key the user releases.
    m_notice->setObjectName(QStringLiteral("CodePageNotice"));
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setFont(WindowLook::windowFont());
    m_notice->setAutoFillBackground(true);
    QPalette palette = m_notice->palette();
    palette.setColor(QPalette::Window, WindowLook::color(kNoticeColor));
    palette.setColor(QPalette::WindowText, Qt::black);
    m_notice->setPalette(palette);
    m_notice->setFrameShape(QFrame::Box);
    m_notice->setMargin(1);
    m_notice->hide();
    m_hide->setSingleShot(true);
    m_hide->setInterval(kNoticeMs);
    connect(m_hide, &QTimer::timeout, m_notice, &QWidget::hide);
    // What the field held last, however it got there: an edit that shortens a text set too
    // long by the program stays possible.
    connect(&edit, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_acceptedLength = wireLength(text); });
    edit.setValidator(this);
}

CodePageGuard::~CodePageGuard() = default;

QValidator::State CodePageGuard::validate(QString &input, int &pos) const
{
    const QString leftOut = Cp1252::unheld(input);
    if (!leftOut.isEmpty()) {
        // The cursor keeps its place among the characters that stay.
        pos = int(Cp1252::withoutUnheld(input.left(pos)).size());
        input = Cp1252::withoutUnheld(input);
        showNotice(leftOut);
    }
    // Refused rather than cut, so that nothing the user typed is lost; a text that only got
    // shorter stays editable even when it was set too long by the program.
    if (m_wireLimit > 0 && wireLength(input) > m_wireLimit &&
        wireLength(input) > m_acceptedLength) {
        showText(TooLongNotice());
        return Invalid;
    }
    return Acceptable;
}

QString CodePageGuard::TooLongNotice()
{
    return tr("Too long for one message: | counts twice");
}

QString CodePageGuard::Notice(const QString &leftOut)
{
    return tr("Cannot be sent, left out: ") + leftOut;
}

void CodePageGuard::showNotice(const QString &leftOut) const
{
    if (!m_notice->isVisible())
        m_leftOut.clear();
    m_leftOut = Cp1252::unheld(m_leftOut + leftOut);
    showText(Notice(m_leftOut));
}

void CodePageGuard::showText(const QString &text) const
{
    QWidget *window = m_notice->parentWidget();
    m_notice->setText(text);
    m_notice->adjustSize();
    // Over the field's upper neighbour where there is room, else below the field; inside the
    // window either way.
    const QRect field(m_edit.mapTo(window, QPoint(0, 0)), m_edit.size());
    const int width = std::min(m_notice->sizeHint().width(), window->width());
    const int height = m_notice->sizeHint().height();
    const int top = field.top() >= height ? field.top() - height : field.bottom() + 1;
    const int left = std::clamp(field.left(), 0, std::max(0, window->width() - width));
    m_notice->setGeometry(left, top, width, height);
    m_notice->raise();
    m_notice->show();
    m_hide->start();
}
