// Changing, adding and deleting channels; start-up and shutdown around the settings file.
#include "EngineFixture.h"
#include "app/CodeCript.h"
#include "engine/Datagram.h"
#include "net/WSocket.h"

#include <QFile>

namespace {

const QByteArray kDefault = CodeCript::Decode(CodeCript::DefaultChannel);

class Channels : public EngineFixture
{
protected:
    void type(const QByteArray &text)
    {
        m_engine->ChannelBox().setText(text);
        ASSERT_TRUE(m_engine->ChannelBoxKeyDown(VirtualKey::Enter));
    }
};

struct TypedCase
{
    const char *name;
    QList<QByteArray> itemsBefore;
    QByteArray typed;
    QByteArray active;
    QList<QByteArray> itemsAfter;
};

class ChannelsTyped : public Channels, public ::testing::WithParamInterface<TypedCase>
{};

TEST_P(ChannelsTyped, EnterMakesTheTypedChannelActive)
{
    const TypedCase &c = GetParam();
    m_engine->ChannelBox().reset(c.itemsBefore, "Sales");
    type(c.typed);
    EXPECT_EQ(m_engine->ActiveChannel(), c.active);
    EXPECT_EQ(m_engine->ChannelBox().text(), c.active);
    EXPECT_EQ(m_engine->ChannelBox().items(), c.itemsAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChannelsTyped,
    ::testing::Values(
        TypedCase{"BlanksAreTrimmed", {"Sales"}, "  Lab\t ", "Lab", {"Sales", "Lab"}},
        TypedCase{"EmptyMeansDefault", {"Sales"}, "  ", kDefault, {"Sales", kDefault}},
        TypedCase{"CaseVariantIsNotListedTwice", {"Sales", "Lab"}, "lab", "lab", {"Sales", "Lab"}},
        TypedCase{"SeparatorBecomesDash", {"Sales"}, "a|b", "a-b", {"Sales", "a-b"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Channels, ChangeLeavesTheOldChannelAndAnnouncesOnTheNewOne)
{
    addPeer(1, "ann");
    type("Lab");
    EXPECT_TRUE(m_engine->users().isEmpty());
    settle();
    const QList<QByteArray> sent = broadcasts();
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(withoutId(sent[0]), "EXT");
    EXPECT_EQ(withoutId(sent[1]), "ACK|BCT|Lab|me|");
    EXPECT_EQ(m_windows.focus, (QList<EngineWindows::Focus>{EngineWindows::Focus::UserList,
                                                            EngineWindows::Focus::BottomPanel}));
}

TEST_F(Channels, PickingTheActiveChannelAgainDoesNothing)
{
    addPeer(1, "ann");
    m_engine->ChannelBox().setText("Sales");
    m_engine->ChannelBoxSelect();
    settle();
    EXPECT_EQ(m_engine->users().count(), 1);
    EXPECT_TRUE(broadcasts().isEmpty());
    EXPECT_FALSE(m_engine->ChannelBoxKeyDown(VirtualKey::Escape)) << "only Enter is taken";
}

struct DeleteCase
{
    const char *name;
    QByteArray text;
    bool confirm;
    QList<QByteArray> itemsAfter;
    QByteArray textAfter;
    int boxes;
};

class ChannelsDelete : public Channels, public ::testing::WithParamInterface<DeleteCase>
{};

TEST_P(ChannelsDelete, DeletesOnlyAfterConfirmationAndNeverTheDefault)
{
    const DeleteCase &c = GetParam();
    m_engine->ChannelBox().reset({"Sales", kDefault, "Lab"}, c.text);
    m_windows.confirm = c.confirm;
    m_engine->DeletechannBtClick();
    EXPECT_EQ(m_engine->ChannelBox().items(), c.itemsAfter);
    EXPECT_EQ(m_engine->ChannelBox().text(), c.textAfter);
    EXPECT_EQ(m_windows.boxes.size(), c.boxes);
    EXPECT_EQ(m_engine->ActiveChannel(), "Sales") << "deleting changes no channel by itself";
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChannelsDelete,
    ::testing::Values(
        DeleteCase{"Confirmed", "sales", true, {kDefault, "Lab"}, kDefault, 1},
        DeleteCase{"Declined", "Lab", false, {"Sales", kDefault, "Lab"}, "Lab", 1},
        DeleteCase{"DefaultRefused", kDefault, true, {"Sales", kDefault, "Lab"}, kDefault, 1},
        DeleteCase{"UnknownIgnored", "Nowhere", true, {"Sales", kDefault, "Lab"}, "Nowhere", 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Channels, DeleteBoxesNameTheChannel)
{
    m_engine->ChannelBox().reset({"Sales", kDefault}, kDefault);
    m_engine->DeletechannBtClick();
    m_engine->ChannelBox().setText("Sales");
    m_engine->DeletechannBtClick();
    ASSERT_EQ(m_windows.boxes.size(), 2);
    EXPECT_EQ(m_windows.boxes[0].kind, EngineWindows::Box::Information);
    EXPECT_EQ(m_windows.boxes[0].text, "Channel \"" + kDefault + "\" cannot be deleted.");
    EXPECT_EQ(m_windows.boxes[1].kind, EngineWindows::Box::Confirmation);
    EXPECT_EQ(m_windows.boxes[1].text, "Channel \"Sales\" will be deleted, continue?");
}

TEST_F(Channels, StartUpLoadsTheSettingsAndArmsTheFirstTick)
{
    QFile file(m_settings.Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Tolvex]\nVersion=010001\n[Channels]\nChannel0=Sales\nChannel1=Lab\n"
               "Selected=lab\nAutoAdd=0\n[Restrictions]\nChannels=1\n");
    file.close();
    m_engine->FormCreate(false);
    EXPECT_EQ(m_engine->AliveTimer().interval(), MessagingEngine::kFirstTickMs);
    settle();
    EXPECT_EQ(m_engine->ChannelBox().items(), (QList<QByteArray>{"Sales", "Lab"}));
    EXPECT_EQ(m_engine->ActiveChannel(), "Lab");
    EXPECT_FALSE(m_engine->ChannelBox().isEnabled());
    EXPECT_FALSE(m_settings.AutoAdd);
    EXPECT_EQ(m_engine->aliveTimerTag(), 1);
    EXPECT_TRUE(m_engine->AliveTimer().isActive());
}

TEST_F(Channels, CloseLeavesTheNetworkBeforeSavingTheSettings)
{
    m_engine->OpenReceiver(true);
    addPeer(1, "ann");
    m_engine->ChannelBox().reset({"Sales"}, "Sales");
    hearFromPeer(2, Datagram::announcement("Lab", "bob"));
    m_engine->AliveTimer().start();
    bool listEmptyAtSave = false;
    QObject::connect(m_engine.get(), &MessagingEngine::aboutToSaveSettings,
                     [&] { listEmptyAtSave = m_engine->users().isEmpty(); });

    m_engine->FormClose();
    EXPECT_FALSE(m_engine->AliveTimer().isActive());
    EXPECT_NE(m_engine->WSocketRecv().State(), wsConnected);
    EXPECT_TRUE(listEmptyAtSave);
    EXPECT_EQ(withoutId(broadcasts().value(0)), "EXT");
    QFile file(m_settings.Path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    EXPECT_TRUE(saved.contains("Channel1=Lab")) << saved.data();
    EXPECT_TRUE(saved.contains("Selected=Sales")) << saved.data();
}

} // namespace
