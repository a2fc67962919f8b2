#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>
#include <memory>
#include <vector>

/// Extra destinations of the presence datagrams, for peers that our broadcast does not
/// reach: directed broadcast addresses of other subnets and single hosts, as dotted
/// addresses or host names. Names are looked up with the socket component's asynchronous
/// lookups, so the event thread never waits for the name service.
class PresenceTargets final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PresenceTargets)

public:
    /// Each target costs one datagram per presence tick; the list stops here.
    static constexpr int kMaxTargets = 64;
    static constexpr int kMaxNameLength = 253;

    explicit PresenceTargets(QObject *parent = nullptr);
    ~PresenceTargets() override;

    /// Why text cannot be a target (empty when it can): a dotted IPv4 address or a host
    /// name of letters, digits, "-" and ".".
    static QByteArray problem(const QByteArray &text);
    /// The usable entries of list, trimmed, each once, at most kMaxTargets of them.
    static QByteArrayList cleaned(const QByteArrayList &list);

    /// Takes the list (cleaned); what is known of names still in it is kept, and a name new
    /// to it is looked up at once.
    void setList(const QByteArrayList &list);
    const QByteArrayList &list() const { return m_list; }
    bool isEmpty() const { return m_list.isEmpty(); }
    /// Looks up again every name whose last lookup has finished; once per presence tick.
    void resolveNames();
    /// Where presence goes besides the broadcast: the dotted entries and the names that
    /// resolved, each address once, in list order.
    QByteArrayList addresses() const;
    /// The address a name resolved to last (empty while none), or a dotted entry itself.
    QByteArray addressOf(const QByteArray &target) const;

    /// Sends to a target that did not get out (no route, refused, failed socket).
    int unreachable() const { return m_unreachable; }
    void countUnreachable() { ++m_unreachable; }

signals:
    /// A name did not resolve: told once, and again only after it resolved in between.
    void unresolved(const QByteArray &name);

private:
    struct Entry;
    void lookUp(Entry &entry);

    std::vector<std::unique_ptr<Entry>> m_entries;
    QByteArrayList m_list;
    int m_unreachable = 0;
};
