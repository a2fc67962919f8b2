#include "ui/HintStyle.h"

#include "ui/WindowLook.h"

#include <QApplication>
#include <QHelpEvent>
#include <QScreen>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>

HintStyle::HintStyle(quint32 color, int hidePauseMs, QObject *parent)
    : QObject(parent), m_hidePauseMs(hidePauseMs)
{
    QPalette look = QToolTip::palette();
    look.setColor(QPalette::ToolTipBase, WindowLook::color(color));
    look.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(look);
    qApp->installEventFilter(this);
}

HintStyle::~HintStyle() = default;

QString HintStyle::tipText(const QString &plain, const QWidget &widget)
{
    // Escaped, so that a name such as "<b>x</b>" shows as typed. A tip in markup wraps at
    // a narrow width of its own; kept on its lines unless a line is wider than the screen
    // can show.
    const QScreen *screen = widget.screen();
    const int room = screen ? screen->availableGeometry().width() * 3 / 4 : 800;
    const QFontMetrics metrics(QToolTip::font());
    const QStringList lines = plain.split(QLatin1Char('\n'));
    const bool fits = std::all_of(lines.begin(), lines.end(), [&](const QString &line) {
        return metrics.horizontalAdvance(line) <= room;
    });
    if (!fits)
        return Qt::convertFromPlainText(plain, Qt::WhiteSpaceNormal);
    return QStringLiteral("<p style='white-space:pre'>") + plain.toHtmlEscaped() +
           QStringLiteral("</p>");
}

bool HintStyle::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->toolTip().isEmpty())
        return false;
    const auto *help = static_cast<QHelpEvent *>(event);
    QToolTip::showText(help->globalPos(), tipText(widget->toolTip(), *widget), widget, {},
                       m_hidePauseMs);
    return true;
}
