#include "engine/ChannelList.h"

#include "app/NameRules.h"
#include "engine/Cp1252.h"

ChannelList::ChannelList(QObject *parent) : QAbstractListModel(parent) {}

ChannelList::~ChannelList() = default;

int ChannelList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant ChannelList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return Cp1252::toDisplay(m_items.at(index.row()));
    return {};
}

QString ChannelList::fold(const QByteArray &name)
{
    // Latin-1 keeps every folded byte as one character of its own.
    return QString::fromLatin1(NameRules::foldCase(name));
}

int ChannelList::findExact(const QByteArray &name) const
{
    const QString key = fold(name);
    if (!m_folded.contains(key))
        return -1;
    for (int i = 0; i < m_items.size(); ++i) {
        if (fold(m_items.at(i)) == key)
            return i;
    }
    return -1;
}

void ChannelList::append(const QByteArray &name)
{
    const int row = count();
    beginInsertRows(QModelIndex(), row, row);
    m_items.append(name);
    ++m_folded[fold(name)];
    endInsertRows();
}

void ChannelList::removeAt(int row)
{
    if (row < 0 || row >= count())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    const QString key = fold(m_items.takeAt(row));
    if (--m_folded[key] <= 0)
        m_folded.remove(key);
    endRemoveRows();
}

void ChannelList::reset(const QList<QByteArray> &items, const QByteArray &text)
{
    beginResetModel();
    m_items = items;
    m_folded.clear();
    for (const QByteArray &name : items)
        ++m_folded[fold(name)];
    endResetModel();
    setText(text);
}

void ChannelList::setText(const QByteArray &text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit textChanged(m_text);
}

void ChannelList::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    emit enabledChanged(enabled);
}
