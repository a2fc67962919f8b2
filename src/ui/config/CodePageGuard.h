#pragma once

#include <QValidator>

class QLabel;
class QLineEdit;
class QTimer;

/// Keeps an edit field to what the network's code page can carry, so that what the field
/// shows is what goes out: characters it cannot carry are left out as they are typed or
/// pasted, and a short notice beside the field names them until a few seconds after the last.
/// Given a wire limit, it also refuses an edit that would make the text longer on the wire
/// (each "|" goes out as CR LF) than one datagram carries, with a notice saying so.
class CodePageGuard final : public QValidator
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CodePageGuard)

public:
    /// How long the notice stays after the last character left out.
    static constexpr int kNoticeMs = 6000;

    /// Guards edit, which must already sit in its window; the guard belongs to the edit.
    explicit CodePageGuard(QLineEdit &edit, qsizetype wireLimit = 0);
    ~CodePageGuard() override;

    State validate(QString &input, int &pos) const override;

    /// The notice, shown while it is up (else hidden).
    QLabel *NoticeLabel() const { return m_notice; }
    /// The notice's text for characters left out.
    static QString Notice(const QString &leftOut);
    /// The notice's text for an edit refused as too long.
    static QString TooLongNotice();

private:
    void showNotice(const QString &leftOut) const;
    void showText(const QString &text) const;

    QLineEdit &m_edit;
    qsizetype m_wireLimit;
    qsizetype m_acceptedLength = 0;
    QLabel *m_notice;
    QTimer *m_hide;
    /// What the notice names: every character left out while it has been up.
    mutable QString m_leftOut;
};
