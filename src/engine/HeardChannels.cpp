#include "engine/HeardChannels.h"

#include "engine/ChannelList.h"

void HeardChannels::reset(const QList<QByteArray> &names)
{
    m_heard.clear();
    m_perSource.clear();
    for (const QByteArray &name : names)
        m_heard.insert(ChannelList::fold(name), Entry{});
}

void HeardChannels::add(const QByteArray &channel, const QByteArray &source,
                        const QByteArray &active)
{
    const QString key = ChannelList::fold(channel);
    if (m_channels.contains(channel)) {
        // Announced again: the last to give way.
        const auto heard = m_heard.find(key);
        if (heard != m_heard.end())
            heard->heardAt = ++m_counter;
        return;
    }
    if (m_perSource.value(source) >= kMaxPerSource)
        return;
    if (m_channels.count() >= kMaxChannels && !evictOldest(active))
        return;
    m_channels.append(channel);
    m_heard.insert(key, Entry{source, ++m_counter});
    ++m_perSource[source];
}

bool HeardChannels::evictOldest(const QByteArray &active)
{
    const QString activeKey = ChannelList::fold(active);
    const QString shown = ChannelList::fold(m_channels.text());
    for (;;) {
        auto oldest = m_heard.end();
        for (auto it = m_heard.begin(); it != m_heard.end(); ++it) {
            if (it.key() == activeKey || it.key() == shown)
                continue;
            if (oldest == m_heard.end() || it->heardAt < oldest->heardAt)
                oldest = it;
        }
        if (oldest == m_heard.end())
            return false;
        bool removed = false;
        for (int row = m_channels.count() - 1; row >= 0; --row) {
            if (ChannelList::fold(m_channels.item(row)) == oldest.key()) {
                m_channels.removeAt(row);
                removed = true;
            }
        }
        release(oldest->source);
        m_heard.erase(oldest);
        // An entry whose item had gone frees no room: look for the next one.
        if (removed)
            return true;
    }
}

void HeardChannels::forget(const QByteArray &channel)
{
    if (channel.isEmpty())
        return;
    const auto heard = m_heard.constFind(ChannelList::fold(channel));
    if (heard == m_heard.cend())
        return;
    release(heard->source);
    m_heard.erase(heard);
}

void HeardChannels::release(const QByteArray &source)
{
    if (!source.isEmpty() && --m_perSource[source] <= 0)
        m_perSource.remove(source);
}

bool HeardChannels::contains(const QByteArray &name) const
{
    return m_heard.contains(ChannelList::fold(name));
}
