#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QByteArrayView>
#include <QCollator>
#include <QDateTime>
#include <QHash>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QItemSelectionModel;
class TWSocket;

/// One known peer, from its first accepted announcement until it is dropped.
struct TUser final
{
    TUser();
    ~TUser();
    TUser(const TUser &) = delete;
    TUser &operator=(const TUser &) = delete;

    QByteArray Addr;                  ///< dotted IPv4 source address; the registry key
    QByteArray Name;                  ///< announced user name, also the list caption
    QByteArray Pending;               ///< "MSG|" + text + "|" waiting to be sent, or empty
    QByteArray LastText;              ///< text of the last message received from the peer
    std::unique_ptr<TWSocket> Socket; ///< the peer's own sending endpoint
    quint32 Color = 0;                ///< transcript colour of the name, 0x00BBGGRR
    QDateTime LastSeen;               ///< local time of the last datagram from the peer
    QByteArray LastId;                ///< packet identifier of the last accepted datagram
    /// Names the record in deferred events: never given to another record, so an event
    /// that outlives its peer cannot reach a newcomer that took the peer's memory.
    quint64 Id = 0;
};

/// The registry of peers and the model of the user list: entries sorted by caption with a
/// locale-aware comparison, any number selected, one focused (the selection model's current
/// index). Lookups by address and by identity are hashed, so a datagram costs no list walk.
class UserList final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UserList)

public:
    /// Data roles beyond Qt::DisplayRole (the caption).
    enum Role
    {
        AddrRole = Qt::UserRole + 1,
        ColorRole
    };

    explicit UserList(QObject *parent = nullptr);
    ~UserList() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    /// The selection of the list: the recipients of the next chat line.
    QItemSelectionModel *selectionModel() const { return m_selection; }

    int count() const { return static_cast<int>(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    /// The record at a row; the row must exist.
    TUser *at(int row) const { return m_entries[static_cast<size_t>(row)].user.get(); }
    /// The record with that address, or nullptr.
    TUser *findByAddr(const QByteArray &addr) const;
    /// The same for an address already turned into its key (addrKey); nullopt stands for a
    /// text that is not a plain dotted quad.
    TUser *findByAddr(const QByteArray &addr, std::optional<quint32> key) const;
    /// The number of an address written as a plain dotted quad ("10.0.0.7": four decimal
    /// numbers up to 255, no leading zeros), which stands for that one text alone; nullopt
    /// for any other text.
    static std::optional<quint32> addrKey(QByteArrayView addr);
    /// The record with that identity, or nullptr when it has been dropped.
    TUser *findById(quint64 id) const { return m_byId.value(id); }
    /// Row of a registered record, or -1.
    int rowOf(const TUser *user) const;

    /// Registers a record at its sorted place (after entries with an equal caption) and
    /// returns its row. The address must not be registered yet.
    int insert(std::unique_ptr<TUser> user);
    /// Sets the name colour of the record at a row.
    void setColor(int row, quint32 color);
    /// Unregisters the record at a row and hands it back.
    std::unique_ptr<TUser> take(int row);
    /// Unregisters every record for which drop holds and hands them back, in one pass:
    /// thousands of peers expiring at once cost one walk of the list, not one per peer.
    /// The selection and the focused entry of the records that stay are kept.
    std::vector<std::unique_ptr<TUser>> takeWhere(const std::function<bool(const TUser &)> &drop);

    bool isSelected(int row) const;
    /// Rows of the selected entries, ascending.
    QList<int> selectedRows() const;
    /// Makes a row the only selected entry and the focused one.
    void selectOnly(int row);

signals:
    /// Emitted before rows go away, ahead of the selection's own notice that they are no
    /// longer selected: a view can tell that notice from a user's deselection.
    void removingRows(bool removing);

private:
    struct Entry
    {
        std::unique_ptr<TUser> user;
        QCollatorSortKey key;
    };

    void registerAddr(TUser *user);
    void forgetAddr(const TUser *user);

    QCollator m_collator;
    std::vector<Entry> m_entries;
    // Peers are found by the number of their address: hashing and comparing the text cost
    // most of a keep-alive's handling. Texts that are no plain dotted quad keep a table of
    // their own.
    QHash<quint32, TUser *> m_byAddr;
    QHash<QByteArray, TUser *> m_byOtherAddr;
    QHash<quint64, TUser *> m_byId;
    QItemSelectionModel *m_selection;
};
