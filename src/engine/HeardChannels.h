#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

class ChannelList;

/// The channels of the channel box that were heard from others and never chosen here: who
/// added each, and which gives way first when the box is full.
class HeardChannels final
{
public:
    /// Channels heard from others are added only while the channel box holds fewer items
    /// than this; past it a new one takes the place of the heard channel announced least
    /// recently. Channels the user chose are never pushed out.
    static constexpr int kMaxChannels = 256;
    /// One source address adds at most this many heard channels, so that a single sender
    /// (or a flood from one) cannot fill the list alone.
    static constexpr int kMaxPerSource = 8;

    explicit HeardChannels(ChannelList &channels) : m_channels(channels) {}

    /// Starts again from the heard channels a settings file named (no source known).
    void reset(const QList<QByteArray> &names);
    /// channel was announced by source: appended to the box if new and there is room (an
    /// older heard channel may give way), else marked as announced last. The active
    /// channel and the box's text never give way.
    void add(const QByteArray &channel, const QByteArray &source, const QByteArray &active);
    /// The channel was chosen or deleted here: it is no longer a heard one.
    void forget(const QByteArray &channel);
    bool contains(const QByteArray &name) const;

private:
    bool evictOldest(const QByteArray &active);
    void release(const QByteArray &source);

    struct Entry
    {
        QByteArray source;   ///< who announced it first; empty when it came from the file
        quint64 heardAt = 0; ///< order of the last announcement naming it
    };
    ChannelList &m_channels;
    /// By folded name.
    QHash<QString, Entry> m_heard;
    QHash<QByteArray, int> m_perSource;
    quint64 m_counter = 0;
};
