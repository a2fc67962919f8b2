#include "engine/UserList.h"

#include <QItemSelectionModel>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<TUser> record(const QByteArray &addr, const QByteArray &name, quint64 id)
{
    auto user = std::make_unique<TUser>();
    user->Addr = addr;
    user->Name = name;
    user->Id = id;
    return user;
}

QList<QByteArray> captions(const UserList &list)
{
    QList<QByteArray> result;
    for (int row = 0; row < list.count(); ++row)
        result.append(list.at(row)->Name);
    return result;
}

TEST(UserList, KeepsEntriesSortedByCaptionAsPeopleRead)
{
    UserList list;
    quint64 id = 0;
    for (const char *name : {"bob", "Carl", "ann", "user10", "user9", "Ann"}) {
        ++id;
        list.insert(record("10.0.0." + QByteArray::number(id), name, id));
    }
    const QList<QByteArray> sorted = captions(list);
    EXPECT_LT(sorted.indexOf("ann"), sorted.indexOf("bob"));
    EXPECT_LT(sorted.indexOf("bob"), sorted.indexOf("Carl")) << "letter case does not split";
    EXPECT_LT(sorted.indexOf("user9"), sorted.indexOf("user10")) << "numbers by value";
    EXPECT_EQ(list.data(list.index(0)).toString().toLower(), QStringLiteral("ann"));
}

TEST(UserList, FindsRecordsByAddressIdentityAndRowEvenWithEqualCaptions)
{
    UserList list;
    list.insert(record("10.0.0.1", "ann", 1));
    list.insert(record("10.0.0.2", "ann", 2));
    list.insert(record("10.0.0.3", "bob", 3));
    TUser *second = list.findByAddr("10.0.0.2");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(list.findById(2), second);
    EXPECT_EQ(list.rowOf(second), 1) << "equal captions keep their order of arrival";
    EXPECT_EQ(list.findByAddr("10.0.0.20"), nullptr);

    list.take(0);
    EXPECT_EQ(list.rowOf(second), 0);
    EXPECT_EQ(list.findById(1), nullptr);
    EXPECT_EQ(list.findByAddr("10.0.0.1"), nullptr);
}

TEST(UserList, AnAddressIsFoundByItsExactTextOnly)
{
    // Plain dotted quads are looked up by number; another spelling of the same number is
    // another text and so another peer, as it always was.
    UserList list;
    list.insert(record("10.0.0.7", "ann", 1));
    list.insert(record("010.0.0.7", "bob", 2));
    list.insert(record("255.255.255.255", "carl", 3));
    list.insert(record("host.lan", "dora", 4));
    EXPECT_EQ(list.findByAddr("10.0.0.7")->Id, 1u);
    EXPECT_EQ(list.findByAddr("010.0.0.7")->Id, 2u);
    EXPECT_EQ(list.findByAddr("255.255.255.255")->Id, 3u);
    EXPECT_EQ(list.findByAddr("host.lan")->Id, 4u);
    for (const char *other : {"10.0.0.07", "10.0.0.7 ", "10.0.7", "10.0.0.7.1", "10.0.0.263",
                              "256.0.0.7", "10..0.7", ""})
        EXPECT_EQ(list.findByAddr(other), nullptr) << other;

    list.take(list.rowOf(list.findById(2)));
    EXPECT_EQ(list.findByAddr("010.0.0.7"), nullptr);
    EXPECT_EQ(list.findByAddr("10.0.0.7")->Id, 1u);
    list.takeWhere([](const TUser &user) { return user.Id == 4; });
    EXPECT_EQ(list.findByAddr("host.lan"), nullptr);
}

TEST(UserList, SelectionFollowsEntriesAsOthersComeAndGo)
{
    UserList list;
    list.insert(record("10.0.0.2", "bob", 2));
    list.insert(record("10.0.0.4", "dora", 4));
    list.selectOnly(1); // dora
    list.insert(record("10.0.0.1", "ann", 1));
    EXPECT_EQ(list.selectedRows(), QList<int>{2});
    EXPECT_EQ(list.at(2)->Name, "dora");
    list.take(0);
    EXPECT_EQ(list.selectedRows(), QList<int>{1});
    list.take(1);
    EXPECT_FALSE(list.selectionModel()->hasSelection());
}

} // namespace
