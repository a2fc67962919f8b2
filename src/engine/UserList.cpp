#include "engine/UserList.h"

#include "engine/Cp1252.h"
#include "net/WSocket.h"

#include <QItemSelectionModel>
#include <QLocale>
#include <QSet>
#include <algorithm>

namespace {

QLocale collationLocale()
{
    // The C locale compares code points ("Zoe" before "ann"); servers and terminals often
    // run with it, so names are then sorted by the common rules of the language root.
    const QLocale system;
    return system.language() == QLocale::C ? QLocale(QLocale::English) : system;
}

} // namespace

TUser::TUser() = default;
TUser::~TUser() = default;

UserList::UserList(QObject *parent)
    : QAbstractListModel(parent), m_collator(collationLocale()),
      m_selection(new QItemSelectionModel(this, this))
{
    // Captions are names people read, so they sort as the user's language sorts them, with
    // "Bob" next to "bob" and digits by value.
    m_collator.setNumericMode(true);
}

UserList::~UserList() = default;

int UserList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant UserList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const TUser *user = at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return Cp1252::toDisplay(user->Name);
    case AddrRole:
        return QString::fromLatin1(user->Addr);
    case ColorRole:
        return user->Color;
    default:
        return {};
    }
}

std::optional<quint32> UserList::addrKey(QByteArrayView addr)
{
    if (addr.size() < 7 || addr.size() > 15)
        return std::nullopt;
    quint32 key = 0;
    int part = 0;
    int digits = 0;
    quint32 value = 0;
    for (const char c : addr) {
        if (c == '.') {
            if (digits == 0 || ++part > 3)
                return std::nullopt;
            key = (key << 8) | value;
            digits = 0;
            value = 0;
        } else if (c >= '0' && c <= '9') {
            if (digits > 0 && value == 0)
                return std::nullopt; // a leading zero: another text for the same number
            value = value * 10 + quint32(c - '0');
            if (++digits > 3 || value > 255)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (part != 3 || digits == 0)
        return std::nullopt;
    return (key << 8) | value;
}

TUser *UserList::findByAddr(const QByteArray &addr) const
{
    return findByAddr(addr, addrKey(addr));
}

TUser *UserList::findByAddr(const QByteArray &addr, std::optional<quint32> key) const
{
    return key ? m_byAddr.value(*key) : m_byOtherAddr.value(addr);
}

void UserList::registerAddr(TUser *user)
{
    if (const std::optional<quint32> key = addrKey(user->Addr))
        m_byAddr.insert(*key, user);
    else
        m_byOtherAddr.insert(user->Addr, user);
}

void UserList::forgetAddr(const TUser *user)
{
    if (const std::optional<quint32> key = addrKey(user->Addr))
        m_byAddr.remove(*key);
    else
        m_byOtherAddr.remove(user->Addr);
}

int UserList::rowOf(const TUser *user) const
{
    if (!user)
        return -1;
    // Records are found by their sort key; among equal captions, by identity.
    const QCollatorSortKey key = m_collator.sortKey(Cp1252::toUnicode(user->Name));
    auto it = std::lower_bound(
        m_entries.begin(), m_entries.end(), key,
        [](const Entry &e, const QCollatorSortKey &k) { return e.key.compare(k) < 0; });
    for (; it != m_entries.end() && it->key.compare(key) == 0; ++it) {
        if (it->user.get() == user)
            return static_cast<int>(it - m_entries.begin());
    }
    // A caption the collation cannot order consistently: fall back to a walk.
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].user.get() == user)
            return static_cast<int>(i);
    }
    return -1;
}

int UserList::insert(std::unique_ptr<TUser> user)
{
    Entry entry{std::move(user), m_collator.sortKey(QString())};
    entry.key = m_collator.sortKey(Cp1252::toUnicode(entry.user->Name));
    auto it = std::upper_bound(
        m_entries.begin(), m_entries.end(), entry.key,
        [](const QCollatorSortKey &k, const Entry &e) { return k.compare(e.key) < 0; });
    const int row = static_cast<int>(it - m_entries.begin());
    TUser *record = entry.user.get();
    beginInsertRows(QModelIndex(), row, row);
    m_entries.insert(it, std::move(entry));
    registerAddr(record);
    m_byId.insert(record->Id, record);
    endInsertRows();
    return row;
}

void UserList::setColor(int row, quint32 color)
{
    at(row)->Color = color;
    emit dataChanged(index(row), index(row), {ColorRole});
}

std::unique_ptr<TUser> UserList::take(int row)
{
    emit removingRows(true);
    beginRemoveRows(QModelIndex(), row, row);
    auto it = m_entries.begin() + row;
    std::unique_ptr<TUser> user = std::move(it->user);
    m_entries.erase(it);
    forgetAddr(user.get());
    m_byId.remove(user->Id);
    endRemoveRows();
    emit removingRows(false);
    return user;
}

std::vector<std::unique_ptr<TUser>>
UserList::takeWhere(const std::function<bool(const TUser &)> &drop)
{
    // A few runs of rows are removed run by run, which views follow cheaply; many scattered
    // rows would move the tail of the list once per run, so the list is rebuilt instead.
    constexpr size_t kMostRunsRemovedOneByOne = 16;
    std::vector<std::unique_ptr<TUser>> taken;
    std::vector<std::pair<int, int>> runs;
    for (int row = 0; row < count(); ++row) {
        if (!drop(*at(row)))
            continue;
        if (!runs.empty() && runs.back().second == row - 1)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }
    if (runs.empty())
        return taken;
    emit removingRows(true);
    const auto forget = [this, &taken](Entry &entry) {
        forgetAddr(entry.user.get());
        m_byId.remove(entry.user->Id);
        taken.push_back(std::move(entry.user));
    };
    if (runs.size() <= kMostRunsRemovedOneByOne) {
        for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
            beginRemoveRows(QModelIndex(), run->first, run->second);
            const auto first = m_entries.begin() + run->first;
            const auto last = m_entries.begin() + run->second + 1;
            std::for_each(first, last, forget);
            m_entries.erase(first, last);
            endRemoveRows();
        }
        emit removingRows(false);
        return taken;
    }
    QSet<quint64> selected;
    for (int row : selectedRows())
        selected.insert(at(row)->Id);
    const QModelIndex current = m_selection->currentIndex();
    const quint64 currentId = current.isValid() ? at(current.row())->Id : 0;
    beginResetModel();
    std::vector<Entry> kept;
    kept.reserve(m_entries.size());
    for (Entry &entry : m_entries) {
        if (drop(*entry.user))
            forget(entry);
        else
            kept.push_back(std::move(entry));
    }
    m_entries = std::move(kept);
    endResetModel();
    QItemSelection selection;
    int currentRow = -1;
    for (int row = 0; row < count(); ++row) {
        if (selected.contains(at(row)->Id))
            selection.select(index(row), index(row));
        if (currentId != 0 && at(row)->Id == currentId)
            currentRow = row;
    }
    if (currentRow >= 0)
        m_selection->setCurrentIndex(index(currentRow), QItemSelectionModel::NoUpdate);
    if (!selection.isEmpty())
        m_selection->select(selection, QItemSelectionModel::ClearAndSelect);
    emit removingRows(false);
    return taken;
}

bool UserList::isSelected(int row) const
{
    return m_selection->isSelected(index(row));
}

QList<int> UserList::selectedRows() const
{
    QList<int> rows;
    const QModelIndexList indexes = m_selection->selectedIndexes();
    rows.reserve(indexes.size());
    for (const QModelIndex &i : indexes)
        rows.append(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void UserList::selectOnly(int row)
{
    m_selection->setCurrentIndex(index(row), QItemSelectionModel::ClearAndSelect);
}
