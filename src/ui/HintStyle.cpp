#include "ui/HintStyle.h"

#include "ui/WindowLook.h"

#include <QApplication>
#include <QHelpEvent>
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

bool HintStyle::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->toolTip().isEmpty())
        return false;
    const auto *help = static_cast<QHelpEvent *>(event);
    // Escaped, so that a name such as "<b>x</b>" shows as typed.
    QToolTip::showText(help->globalPos(),
                       Qt::convertFromPlainText(widget->toolTip(), Qt::WhiteSpaceNormal), widget,
                       {}, m_hidePauseMs);
    return true;
}
