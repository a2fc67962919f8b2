#include "ui/config/ConfigForm.h"

#include "app/Support.h"
#include "engine/MessagingEngine.h"
#include "engine/TextRules.h"
#include "platform/Autostart.h"
#include "ui/WindowLook.h"
#include "ui/config/CodePageGuard.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

QLabel *label(QWidget *parent, const char *text, int x, int y)
{
    auto *l = new QLabel(QCoreApplication::translate("TConfigForm", text), parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

} // namespace

TConfigForm::TConfigForm(MessagingEngine &engine, EngineWindows &windows, QWidget *parent)
    : QDialog(parent,
              Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      m_engine(engine), m_windows(windows)
{
    setObjectName(QStringLiteral("ConfigForm"));
    setWindowTitle(tr("Configuration"));
    setFixedSize(194, 372);
    WindowLook::paintBackground(*this, WindowLook::kPanelColor);
    setModal(true);

    label(this, QT_TR_NOOP("User name"), 9, 18);
    m_defNameLabel = new QPushButton(tr("(restore default)"), this);
    m_defNameLabel->setObjectName(QStringLiteral("DefNameLabel"));
    m_defNameLabel->setFlat(true);
    // A dialog presses its first button on Return: that would put the default name over the
    // one just typed.
    m_defNameLabel->setAutoDefault(false);
    m_defNameLabel->setCursor(Qt::PointingHandCursor);
    m_defNameLabel->setStyleSheet(
        QStringLiteral("QPushButton { color: #000080; border: none; padding: 0; }"
                       "QPushButton:focus { text-decoration: underline; }"));
    m_defNameLabel->adjustSize();
    m_defNameLabel->move(180 - m_defNameLabel->width(), 18);
    m_defNameLabel->setAccessibleName(tr("Restore the default user name"));
    connect(m_defNameLabel, &QPushButton::clicked, this, &TConfigForm::DefNameLabelClick);

    m_userEdit = new QLineEdit(this);
    m_userEdit->setObjectName(QStringLiteral("UserEdit"));
    m_userEdit->setGeometry(37, 38, 120, 21);
    m_userEdit->setAccessibleName(tr("User name"));
    // The name goes out as typed, or peers would list it under question marks.
    new CodePageGuard(*m_userEdit);

    label(this, QT_TR_NOOP("Active interface"), 9, 68);
    m_interfCombo = new QComboBox(this);
    m_interfCombo->setObjectName(QStringLiteral("InterfCombo"));
    m_interfCombo->setGeometry(37, 88, 120, 21);
    m_interfCombo->setAccessibleName(tr("Active interface"));

    label(this, QT_TR_NOOP("Communication port"), 9, 118);
    m_portEdit = new QLineEdit(this);
    m_portEdit->setObjectName(QStringLiteral("PortEdit"));
    m_portEdit->setGeometry(37, 138, 75, 21);
    m_portEdit->setAccessibleName(tr("Communication port"));
    label(this, QT_TR_NOOP("UDP protocol"), 117, 142);

    label(this, QT_TR_NOOP("Start automatically when I log in"), 9, 168);
    m_autoStartCheck = new QCheckBox(tr("Enabled (delayed by 30\")"), this);
    m_autoStartCheck->setObjectName(QStringLiteral("AutoStartCheck"));
    // 140 pixels hold the caption in Tahoma; a wider fallback face may take the room to the
    // dialog's edge.
    m_autoStartCheck->setGeometry(37, 188, qBound(140, m_autoStartCheck->sizeHint().width(), 153),
                                  17);
    m_autoStartCheck->setAccessibleName(tr("Start automatically at log-on"));
    connect(m_autoStartCheck, &QCheckBox::clicked, this, &TConfigForm::AutoStartCheckClick);

    label(this, QT_TR_NOOP("Add channels automatically"), 9, 218);
    m_autoChannCheck = new QCheckBox(tr("Enabled"), this);
    m_autoChannCheck->setObjectName(QStringLiteral("AutoChannCheck"));
    m_autoChannCheck->setGeometry(37, 238, 75, 17);
    m_autoChannCheck->setAccessibleName(tr("Add channels automatically"));

    // Below the others: copies behind a router, reached through their addresses.
    label(this, QT_TR_NOOP("Other networks"), 9, 268);
    m_targetsEdit = new QLineEdit(this);
    m_targetsEdit->setObjectName(QStringLiteral("TargetsEdit"));
    m_targetsEdit->setGeometry(37, 288, 143, 21);
    m_targetsEdit->setAccessibleName(tr("Other networks"));
    m_targetsEdit->setPlaceholderText(QStringLiteral("192.168.2.255"));
    auto *hint = new QLabel(tr("Broadcast addresses or hosts of other subnets, "
                               "separated by blanks. They need this network in "
                               "their lists too."),
                            this);
    hint->setObjectName(QStringLiteral("TargetsHint"));
    hint->setWordWrap(true);
    hint->setGeometry(37, 313, 150, 52);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    for (QWidget *field :
         {static_cast<QWidget *>(m_userEdit), static_cast<QWidget *>(m_interfCombo),
          static_cast<QWidget *>(m_portEdit), static_cast<QWidget *>(m_targetsEdit)})
        WindowLook::paintField(*field);
    setTabOrder(m_userEdit, m_interfCombo);
    setTabOrder(m_interfCombo, m_portEdit);
    setTabOrder(m_portEdit, m_autoStartCheck);
    setTabOrder(m_autoStartCheck, m_autoChannCheck);
    setTabOrder(m_autoChannCheck, m_targetsEdit);
    setTabOrder(m_targetsEdit, m_defNameLabel);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    FormCreate();
    m_userEdit->setFocus();
}

TConfigForm::~TConfigForm() = default;

void TConfigForm::FormCreate()
{
    const SettingsValues &settings = m_engine.Settings();
    // Before the first tick the engine has not looked for addresses yet: the configured one
    // is shown on its own, so that closing the dialog keeps it instead of storing nothing.
    QByteArrayList addresses = m_engine.LocalAddresses();
    if (addresses.isEmpty() && !settings.Interface.isEmpty())
        addresses.append(settings.Interface);
    for (const QByteArray &address : addresses)
        m_interfCombo->addItem(QString::fromLatin1(address));
    if (!addresses.isEmpty())
        m_interfCombo->setCurrentIndex(std::max(0, int(addresses.indexOf(settings.Interface))));
    m_portEdit->setText(WindowLook::text(settings.Port));
    m_userEdit->setText(WindowLook::text(settings.UserName));
    m_autoStartCheck->setChecked(Autostart::isSet());
    m_autoChannCheck->setChecked(settings.AutoAdd);
    m_targetsEdit->setText(WindowLook::text(settings.Targets.join(' ')));
}

void TConfigForm::DefNameLabelClick()
{
    m_userEdit->setText(WindowLook::text(DefaultUserName(m_engine.Settings().Interface)));
}

void TConfigForm::AutoStartCheckClick()
{
    if (m_autoStartCheck->isChecked()) {
        if (!Autostart::isSet() && !Autostart::set(QCoreApplication::applicationFilePath())) {
            // The box stays ticked, as it does for any refused write.
            m_windows.messageBox(
                EngineWindows::Box::Error,
                WindowLook::bytes(
                    tr("Failed to set data for '%1'").arg(QCoreApplication::applicationName())));
        }
    } else if (Autostart::isSet()) {
        Autostart::remove();
    }
}

QByteArray TConfigForm::CleanUserName(const QByteArray &typed, const QByteArray &defaultName)
{
    const QByteArray name = TextRules::separatorToDash(TextRules::trimBlanks(typed));
    return name.isEmpty() ? defaultName : name;
}

void TConfigForm::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    const QByteArray name = CleanUserName(WindowLook::bytes(m_userEdit->text()),
                                          DefaultUserName(m_engine.Settings().Interface));
    m_userEdit->setText(WindowLook::text(name));
    m_engine.goOffline();
    SettingsValues &settings = m_engine.Settings();
    settings.UserName = name;
    settings.Port = WindowLook::bytes(m_portEdit->text());
    settings.Interface =
        m_interfCombo->count() > 0 ? m_interfCombo->currentText().toLatin1() : QByteArray();
    settings.AutoAdd = m_autoChannCheck->isChecked();
    // What cannot be an address or a host name is left out, and the user is told so.
    QByteArrayList targets;
    QByteArrayList refused;
    const QByteArray typed = WindowLook::bytes(m_targetsEdit->text()).replace(',', ' ');
    for (const QByteArray &entry : typed.simplified().split(' ')) {
        if (entry.isEmpty())
            continue;
        if (!PresenceTargets::problem(entry).isEmpty() ||
            targets.size() >= PresenceTargets::kMaxTargets)
            refused.append(entry);
        else if (!targets.contains(entry))
            targets.append(entry);
    }
    settings.Targets = targets;
    m_engine.applyTargets();
    m_targetsEdit->setText(WindowLook::text(targets.join(' ')));
    if (!refused.isEmpty())
        m_windows.messageBox(EngineWindows::Box::Error,
                             WindowLook::bytes(tr("Left out of the other networks (at most %1 "
                                                  "addresses or host names): ")
                                                   .arg(PresenceTargets::kMaxTargets)) +
                                 refused.join(' '));
}

void TConfigForm::closeEvent(QCloseEvent *event)
{
    FormClose();
    QDialog::closeEvent(event);
}

void TConfigForm::done(int result)
{
    // Escape and the window manager's close both end here: there is no cancel.
    FormClose();
    QDialog::done(result);
}

void TConfigForm::keyPressEvent(QKeyEvent *event)
{
    // Return closes and stores, as Escape does (there is no OK either); on the link it
    // restores the default name, as a click would.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (focusWidget() == m_defNameLabel)
        m_defNameLabel->click();
    else
        accept();
}

void TConfigForm::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // The dialog asks for a close button only, but some window managers offer minimising
    // anyway and take the main window along: a modal dialog out of sight would leave the
    // program without a way back. It comes back at once.
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        QTimer::singleShot(0, this, [this] {
            if (!isMinimized())
                return;
            showNormal();
            activateWindow();
        });
    }
}
