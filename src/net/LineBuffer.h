#pragma once

#include <QByteArray>

/// The bytes a line-mode socket holds while it assembles lines: appended at the end,
/// edited like a terminal line, searched for the line end and taken from the front. A
/// zero byte always follows the content.
class LineBuffer final
{
public:
    /// Bytes held.
    int count() const { return m_count; }
    const char *constData() const { return m_data.constData(); }
    /// Storage exists (it is released at a close).
    bool allocated() const { return !m_data.isEmpty(); }

    /// Room for Size more bytes behind the held ones (and the zero byte); where they go.
    char *reserve(int Size);
    /// Counts Size bytes just written at reserve()'s pointer.
    void commit(int Size);
    /// Terminal editing of the newest NewCount bytes: backspace removes the character
    /// before it (never past the first held byte), tab becomes blanks up to the next
    /// multiple of 8 characters. Echo receives what a terminal would show. Returns how many
    /// bytes at the end are new after editing (held bytes a backspace reached count as new).
    int edit(int NewCount, QByteArray *Echo);
    /// Position of End at or after From, -1 when absent.
    int find(const QByteArray &End, int From) const;
    /// Copies up to Size bytes from the front to Buffer and, unless Peek, removes them.
    int take(char *Buffer, int Size, bool Peek = false);
    /// Removes up to Size bytes from the front.
    void remove(int Size);
    /// Drops the held bytes, keeping the storage.
    void clear();
    /// Drops the held bytes and frees the storage.
    void release();

private:
    void ensure(int Capacity);

    QByteArray m_data;
    int m_count = 0;
};
