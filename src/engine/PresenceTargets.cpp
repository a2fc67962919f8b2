#include "engine/PresenceTargets.h"

#include "net/WSocket.h"
#include "net/WSocketResolve.h"

#include <QSet>
#include <algorithm>
#include <utility>

struct PresenceTargets::Entry
{
    QByteArray text;
    /// Dotted: the entry itself; a name: its last answer, kept while a new lookup runs.
    QByteArray addr;
    std::unique_ptr<TWSocket> lookup;
    bool busy = false;
    bool reported = false;
};

PresenceTargets::PresenceTargets(QObject *parent) : QObject(parent) {}

PresenceTargets::~PresenceTargets() = default;

QByteArray PresenceTargets::problem(const QByteArray &text)
{
    const QByteArray value = text.trimmed();
    if (value.isEmpty())
        return "an empty target";
    if (IsDottedIP(value)) {
        if (value == "0.0.0.0")
            return "0.0.0.0 is no destination";
        return {};
    }
    if (value.size() > kMaxNameLength)
        return "a host name has at most 253 characters";
    for (char c : value) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '-' || c == '.';
        if (!ok)
            return "\"" + value + "\" is neither an IPv4 address nor a host name";
    }
    if (value.startsWith('-') || value.startsWith('.') || value.contains(".."))
        return "\"" + value + "\" is not a host name";
    return {};
}

QByteArrayList PresenceTargets::cleaned(const QByteArrayList &list)
{
    QByteArrayList result;
    QSet<QByteArray> seen;
    for (const QByteArray &text : list) {
        if (result.size() >= kMaxTargets)
            break;
        const QByteArray value = text.trimmed();
        if (!problem(value).isEmpty() || seen.contains(value.toLower()))
            continue;
        seen.insert(value.toLower());
        result.append(value);
    }
    return result;
}

void PresenceTargets::setList(const QByteArrayList &list)
{
    const QByteArrayList wanted = cleaned(list);
    if (wanted == m_list)
        return;
    std::vector<std::unique_ptr<Entry>> kept;
    for (const QByteArray &text : wanted) {
        auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                  [&text](const auto &e) { return e && e->text == text; });
        if (found != m_entries.end()) {
            kept.push_back(std::move(*found));
            continue;
        }
        auto entry = std::make_unique<Entry>();
        entry->text = text;
        if (IsDottedIP(text))
            entry->addr = text;
        else
            lookUp(*entry);
        kept.push_back(std::move(entry));
    }
    // Entries dropped here take their lookup sockets with them; a lookup still running
    // then reports to nobody.
    m_entries = std::move(kept);
    m_list = wanted;
}

void PresenceTargets::resolveNames()
{
    for (const std::unique_ptr<Entry> &entry : m_entries) {
        if (!IsDottedIP(entry->text) && !entry->busy)
            lookUp(*entry);
    }
}

void PresenceTargets::lookUp(Entry &entry)
{
    if (!entry.lookup) {
        entry.lookup = std::make_unique<TWSocket>();
        Entry *e = &entry;
        entry.lookup->OnDnsLookupDone = [this, e](TCustomWSocket *sender, quint16 errCode) {
            e->busy = false;
            QByteArray addr;
            if (errCode == 0) {
                for (const QByteArray &candidate : sender->DnsResultList()) {
                    if (IsDottedIP(candidate)) {
                        addr = candidate;
                        break;
                    }
                }
            }
            if (!addr.isEmpty()) {
                e->addr = addr;
                e->reported = false;
                return;
            }
            // A name that stops resolving keeps its last address: a name server that is
            // away for a while does not cut the peers behind it off.
            if (!std::exchange(e->reported, true))
                emit unresolved(e->text);
        };
        // Failures arrive as a lookup result; nothing is raised on the event thread.
        entry.lookup->OnError = [](TCustomWSocket *) {};
    }
    entry.busy = true;
    try {
        entry.lookup->DnsLookup(entry.text);
    } catch (const std::exception &) {
        entry.busy = false;
        if (!std::exchange(entry.reported, true))
            emit unresolved(entry.text);
    }
}

QByteArrayList PresenceTargets::addresses() const
{
    QByteArrayList result;
    for (const std::unique_ptr<Entry> &entry : m_entries) {
        if (!entry->addr.isEmpty() && !result.contains(entry->addr))
            result.append(entry->addr);
    }
    return result;
}

QByteArray PresenceTargets::addressOf(const QByteArray &target) const
{
    for (const std::unique_ptr<Entry> &entry : m_entries) {
        if (entry->text.compare(target.trimmed(), Qt::CaseInsensitive) == 0)
            return entry->addr;
    }
    return {};
}
