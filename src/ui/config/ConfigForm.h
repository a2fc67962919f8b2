#pragma once

#include <QDialog>

class EngineWindows;
class MessagingEngine;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

/// The configuration dialog: user name, interface, port, start at log-on, the automatic
/// adding of channels and the other networks that presence goes to. It has no OK or Cancel: closing
/// it, however (its close button, Escape or Return), takes the program off line and stores what it
/// shows; the main window brings the program on line again.
class TConfigForm final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TConfigForm)

public:
    TConfigForm(MessagingEngine &engine, EngineWindows &windows, QWidget *parent = nullptr);
    ~TConfigForm() override;

    QLineEdit *UserEdit() const { return m_userEdit; }
    QComboBox *InterfCombo() const { return m_interfCombo; }
    QLineEdit *PortEdit() const { return m_portEdit; }
    QCheckBox *AutoStartCheck() const { return m_autoStartCheck; }
    QCheckBox *AutoChannCheck() const { return m_autoChannCheck; }
    QPushButton *DefNameLabel() const { return m_defNameLabel; }
    /// Other networks, separated by blanks.
    QLineEdit *TargetsEdit() const { return m_targetsEdit; }

    void DefNameLabelClick();
    /// Writes or removes the start-at-log-on entry; only the user's own clicks reach it.
    void AutoStartCheckClick();
    /// Validates the name, takes the program off line and stores the values (once).
    void FormClose();

    /// The user name as the dialog stores it: blanks and control characters trimmed, "|"
    /// turned into "-", and the default name in place of nothing.
    static QByteArray CleanUserName(const QByteArray &typed, const QByteArray &defaultName);

protected:
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormCreate();

    MessagingEngine &m_engine;
    EngineWindows &m_windows;
    QLineEdit *m_userEdit;
    QComboBox *m_interfCombo;
    QLineEdit *m_portEdit;
    QCheckBox *m_autoStartCheck;
    QCheckBox *m_autoChannCheck;
    QPushButton *m_defNameLabel;
    QLineEdit *m_targetsEdit;
    bool m_closed = false;
};
