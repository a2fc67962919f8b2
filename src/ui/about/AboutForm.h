#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QPushButton;

/// The about window: title, version, two lines of information and three buttons that hand
/// the maker's web page, the donation page and a mail link to the desktop. Borderless; it is
/// moved by its background, its picture and its texts.
class TAboutForm final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAboutForm)

public:
    explicit TAboutForm(QWidget *parent = nullptr);
    ~TAboutForm() override;

    QLabel *ProdNameLabel() const { return m_prodNameLabel; }
    QLabel *InfoLabel() const { return m_infoLabel; }
    QPushButton *CloseBt() const { return m_closeBt; }
    QPushButton *DonateBt() const { return m_donateBt; }
    QPushButton *WebBt() const { return m_webBt; }
    QPushButton *EmailBt() const { return m_emailBt; }

    /// The information text: the version line, an empty line, then the two information lines.
    static QString InfoText();
    /// The targets of the three link buttons.
    static QUrl WebTarget();
    static QUrl EmailTarget();
    static QUrl DonateTarget();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openTarget(const QUrl &target);

    QLabel *m_prodNameLabel;
    QLabel *m_infoLabel;
    QPushButton *m_closeBt;
    QPushButton *m_donateBt;
    QPushButton *m_webBt;
    QPushButton *m_emailBt;
    QPoint m_dragOffset;
    bool m_dragging = false;
};
