#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QHash>
#include <QList>

/// The channel box as a model: the known channels in the order they were added, and the
/// text shown or being typed. Names are matched the way the box searches, ignoring case.
class ChannelList final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChannelList)

public:
    explicit ChannelList(QObject *parent = nullptr);
    ~ChannelList() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    int count() const { return static_cast<int>(m_items.size()); }
    const QList<QByteArray> &items() const { return m_items; }
    QByteArray item(int row) const { return m_items.value(row); }

    /// Row of the first item equal to name without regard to case, or -1.
    int findExact(const QByteArray &name) const;
    bool contains(const QByteArray &name) const { return m_folded.contains(fold(name)); }

    /// Appends an item (duplicates are allowed, as a settings file may hold them).
    void append(const QByteArray &name);
    void removeAt(int row);
    /// Replaces every item and the text.
    void reset(const QList<QByteArray> &items, const QByteArray &text);

    /// The text of the box.
    QByteArray text() const { return m_text; }
    void setText(const QByteArray &text);
    /// Picks an item: the box shows it.
    void select(int row) { setText(item(row)); }

    /// Whether the user may change the channel (an administrator can lock it).
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    /// The form in which two names that the list takes for one compare equal.
    static QString fold(const QByteArray &name);

signals:
    void textChanged(const QByteArray &text);
    void enabledChanged(bool enabled);

private:
    QList<QByteArray> m_items;
    QHash<QString, int> m_folded; ///< folded name -> number of items carrying it
    QByteArray m_text;
    bool m_enabled = true;
};
