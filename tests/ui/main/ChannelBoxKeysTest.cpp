// The channel box driven as a user drives it: keys go to the combo box, which has the
// keyboard focus, not to its inner line edit.
#include "MainFormFixture.h"
#include "engine/Datagram.h"
#include "ui/HintStyle.h"
#include "ui/main/MainLayout.h"

#include <QComboBox>
#include <QTest>

namespace {

class ChannelBoxKeysTest : public MainFormFixture
{
protected:
    // Shown and active, as the window the user works in.
    TMainForm &startActive()
    {
        writeSettings();
        TMainForm &form = start();
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        return form;
    }

    // What the program installs before its windows.
    HintStyle m_hints{MainLayout::kHintColor, MainLayout::kHintHidePauseMs};
};

TEST_F(ChannelBoxKeysTest, ATypedChannelIsAppliedOnEnterAndIsTheChannelOfTheNextStart)
{
    TMainForm &form = startActive();
    addPeer(1, "ann");
    QComboBox *box = form.ChannelBox();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(10, box->height() / 2));
    ASSERT_TRUE(box->hasFocus());
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QStringLiteral("Lab"));
    QTest::keyClick(box, Qt::Key_Return);

    EXPECT_EQ(form.Engine().ActiveChannel(), "Lab");
    EXPECT_EQ(box->currentText(), QStringLiteral("Lab"));
    EXPECT_EQ(box->count(), 2);
    EXPECT_TRUE(form.Engine().users().isEmpty()) << "the old channel's users are dropped";
    EXPECT_EQ(nextBroadcast(), Datagram::leaveNotice().mid(7));
    QCoreApplication::sendPostedEvents(&form.Engine());
    EXPECT_TRUE(nextBroadcast().startsWith("ACK|BCT|Lab|me|")) << "announced on the new channel";

    form.close();
    m_form.reset();
    start();
    EXPECT_EQ(m_form->Engine().ActiveChannel(), "Lab");
    EXPECT_EQ(m_form->ChannelBox()->currentText(), QStringLiteral("Lab"));
}

TEST_F(ChannelBoxKeysTest, LeavingTheBoxAfterTypingAppliesTheChannel)
{
    TMainForm &form = startActive();
    QComboBox *box = form.ChannelBox();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(10, box->height() / 2));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QStringLiteral("Ops"));
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(form.Engine().ActiveChannel(), "Ops");
}

} // namespace
