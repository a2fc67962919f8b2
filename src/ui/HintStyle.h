#pragma once

#include <QObject>
#include <QString>

class QWidget;

/// The application's tooltips: their colour, how long they stay, and that their text is
/// always shown as plain text, since tooltips carry names from the network.
class HintStyle final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HintStyle)

public:
    /// Colour 0x00BBGGRR and display time of every tooltip of the application.
    HintStyle(quint32 color, int hidePauseMs, QObject *parent = nullptr);
    ~HintStyle() override;

    int hidePauseMs() const { return m_hidePauseMs; }
    /// What a tip shows for a widget's plain hint text: escaped, on one line per line of
    /// the text where the screen has room for it.
    static QString tipText(const QString &plain, const QWidget &widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_hidePauseMs;
};
