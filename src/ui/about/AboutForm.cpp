#include "ui/about/AboutForm.h"

#include "app/CodeCript.h"
#include "app/SettingsFile.h"
#include "ui/WindowLook.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace {

QString decoded(const char *scrambled)
{
    return WindowLook::text(CodeCript::Decode(scrambled));
}

QPushButton *textButton(QWidget *parent, const char *caption, const QString &hint, int x, int y)
{
    auto *button = new QPushButton(QCoreApplication::translate("TAboutForm", caption), parent);
    button->setGeometry(x, y, 130, 20);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(10);
    button->setFont(font);
    button->setStyleSheet(QStringLiteral(
        "QPushButton { color: rgb(75, 75, 75); border: 1px solid rgb(200, 200, 200); }"
        "QPushButton:hover, QPushButton:focus { border-color: rgb(110, 110, 110); }"));
    // Enter closes the window (the close button is the default); only a click or Space
    // opens a link.
    button->setAutoDefault(false);
    button->setToolTip(hint);
    button->setAccessibleName(QString::fromLatin1(caption));
    button->setAccessibleDescription(hint);
    return button;
}

} // namespace

// Without a shown window to stand above, the window is a top-level one of its own: a dialog
// with no parent is made transient for the toolkit's hidden leader window on X11.
TAboutForm::TAboutForm(QWidget *parent)
    : QDialog(parent, (parent ? Qt::Dialog : Qt::Window) | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(tr("About..."));
    setFixedSize(365, 200);
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // BakPanel: the whole window in its own grey.
    WindowLook::paintBackground(*this, 15461355);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("IconImage"));
    icon->setGeometry(9, 19, 128, 128);
    icon->setPixmap(WindowLook::picture(QStringLiteral(":/main/art/tolvex-128.png")));
    icon->setAccessibleName(tr("Program icon"));

    auto *bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel2"));
    bevel->setGeometry(10, 8, 330, 53);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->lower();

    m_prodNameLabel = new QLabel(decoded(CodeCript::ProductTitle), this);
    m_prodNameLabel->setObjectName(QStringLiteral("ProdNameLabel"));
    m_prodNameLabel->setGeometry(150, 27, 185, 18);
    m_prodNameLabel->setTextFormat(Qt::PlainText);
    QFont title;
    title.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                       QStringLiteral("DejaVu Sans")});
    title.setPixelSize(16);
    title.setBold(true);
    title.setItalic(true);
    m_prodNameLabel->setFont(title);
    m_prodNameLabel->setStyleSheet(QStringLiteral("color: #000080;"));

    m_infoLabel = new QLabel(InfoText(), this);
    m_infoLabel->setObjectName(QStringLiteral("InfoLabel"));
    m_infoLabel->setGeometry(133, 77, 200, 55);
    m_infoLabel->setTextFormat(Qt::PlainText);
    m_infoLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_infoLabel->setWordWrap(true);
    m_infoLabel->setFont(WindowLook::windowFont());
    m_infoLabel->setStyleSheet(QStringLiteral("color: black;"));

    m_closeBt = new QPushButton(this);
    m_closeBt->setObjectName(QStringLiteral("CloseBt"));
    m_closeBt->setGeometry(340, 8, 20, 20);
    m_closeBt->setFlat(true);
    m_closeBt->setIcon(QIcon(QStringLiteral(":/about/art/close.png")));
    m_closeBt->setIconSize(QSize(11, 11));
    m_closeBt->setCursor(Qt::PointingHandCursor);
    m_closeBt->setToolTip(tr("Close"));
    m_closeBt->setAccessibleName(tr("Close"));
    m_closeBt->setAutoDefault(false);
    m_closeBt->setDefault(true);
    connect(m_closeBt, &QPushButton::clicked, this, &QDialog::close);

    const QString display = decoded(CodeCript::DisplayName);
    m_donateBt = textButton(this, QT_TR_NOOP("Make a donation"),
                            tr("Support %1 today!").arg(display), 42, 149);
    m_webBt = textButton(this, QT_TR_NOOP("Web page"), tr("Visit our home page"), 42, 173);
    m_emailBt = textButton(this, QT_TR_NOOP("E-mail"), tr("Send us your comments or suggestions"),
                           192, 173);
    connect(m_webBt, &QPushButton::clicked, this, [this] { openTarget(WebTarget()); });
    connect(m_emailBt, &QPushButton::clicked, this, [this] { openTarget(EmailTarget()); });
    connect(m_donateBt, &QPushButton::clicked, this, [this] { openTarget(DonateTarget()); });

    setTabOrder(m_webBt, m_emailBt);
    setTabOrder(m_emailBt, m_donateBt);
    setTabOrder(m_donateBt, m_closeBt);
    for (QWidget *handle :
         {static_cast<QWidget *>(this), static_cast<QWidget *>(icon),
          static_cast<QWidget *>(m_prodNameLabel), static_cast<QWidget *>(m_infoLabel)})
        handle->installEventFilter(this);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    m_webBt->setFocus();
}

TAboutForm::~TAboutForm() = default;

QString TAboutForm::InfoText()
{
    return tr("version 1.0 (build %1)").arg(QString::fromLatin1(SettingsFormatVersion)) +
           QStringLiteral("\r\n\r\n") + decoded(CodeCript::InfoLine1) + QStringLiteral("\r\n") +
           decoded(CodeCript::InfoLine2);
}

QUrl TAboutForm::WebTarget()
{
    return QUrl::fromEncoded(CodeCript::Decode(CodeCript::WebPage));
}

QUrl TAboutForm::EmailTarget()
{
    return QUrl::fromEncoded(CodeCript::MailLink(CodeCript::Decode(CodeCript::DisplayName)));
}

QUrl TAboutForm::DonateTarget()
{
    return QUrl::fromEncoded(
        CodeCript::DonationLink(CodeCript::Decode(CodeCript::ProductTitle), "Donate", {}));
}

void TAboutForm::openTarget(const QUrl &target)
{
    QCoreApplication::processEvents();
    WindowLook::linkOpener()(target);
}

bool TAboutForm::eventFilter(QObject *watched, QEvent *event)
{
    // Only the left button moves the window: the window system's own move where it has one,
    // else the window follows the mouse.
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        if (windowHandle() && windowHandle()->startSystemMove())
            return true;
        m_dragging = true;
        m_dragOffset = mouse->globalPosition().toPoint() - pos();
        return true;
    }
    case QEvent::MouseMove:
        if (m_dragging) {
            move(static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - m_dragOffset);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
