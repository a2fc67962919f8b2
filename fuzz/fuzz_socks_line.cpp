// Feeds arbitrary reply bytes, cut into arbitrary reads, to the SOCKS reply reader, and
// arbitrary chunks to line assembly with and without terminal editing: nothing may crash,
// read outside a buffer or break the readers' promises.
// Links: tolvex_net
#include "net/LineBuffer.h"
#include "net/SocksProtocol.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Reads the input front to back; past the end it yields zeros.
struct Input
{
    const uint8_t *data;
    size_t size;
    size_t at = 0;

    uint8_t byte() { return at < size ? data[at++] : 0; }
    size_t left() const { return size - at; }
    // Up to n bytes of the input.
    QByteArray take(size_t n)
    {
        n = std::min(n, left());
        const QByteArray out(reinterpret_cast<const char *>(data + at), qsizetype(n));
        at += n;
        return out;
    }
};

void fuzzSocks(Input &in)
{
    const uint8_t setup = in.byte();
    const char *const levels[] = {"4", "4A", "5"};
    SocksProtocol p;
    p.begin(levels[setup % 3], (setup & 4) ? 2 : 0);
    p.setState(1 + (setup >> 3) % 3);
    while (in.left() > 0) {
        const int room = p.room();
        check(room > 0);
        const QByteArray chunk = in.take(1 + in.byte() % size_t(room));
        std::memcpy(p.tail(), chunk.constData(), size_t(chunk.size()));
        const SocksProtocol::Outcome out = p.received(int(chunk.size()));
        switch (out.What) {
        case SocksProtocol::Outcome::Wait:
            break;
        case SocksProtocol::Outcome::SendUsercode:
            check(p.count() == 0);
            p.setState(SocksProtocol::Authenticating);
            break;
        case SocksProtocol::Outcome::SendConnect:
            check(p.count() == 0);
            p.setState(SocksProtocol::Requested);
            break;
        case SocksProtocol::Outcome::Connected: {
            check(p.state() == SocksProtocol::Idle && p.pendingCount() >= 0);
            char sink[512];
            const int n = p.takePending(sink, sizeof sink, false);
            check(n >= 0 && p.pendingCount() == 0);
            return;
        }
        case SocksProtocol::Outcome::Failed:
            check(out.Code >= 20001 && out.Code <= 20016 && !out.Text.isEmpty());
            return;
        }
    }
}

void fuzzLines(Input &in)
{
    const uint8_t setup = in.byte();
    const QByteArray ends[] = {"\r\n", "\n", "||", "\r\n\r\n"};
    const QByteArray end = ends[setup % 4];
    const bool edit = (setup & 4) != 0;
    const int limit = 64 + (setup >> 3) * 64;
    LineBuffer buffer;
    while (in.left() > 0) {
        const QByteArray chunk = in.take(1 + in.byte() % 64);
        const int oldCount = buffer.count();
        std::memcpy(buffer.reserve(int(chunk.size())), chunk.constData(), size_t(chunk.size()));
        buffer.commit(int(chunk.size()));
        int fresh = int(chunk.size());
        if (edit) {
            QByteArray echo;
            fresh = buffer.edit(fresh, &echo);
            check(fresh >= 0 && fresh <= buffer.count());
        } else {
            check(buffer.count() == oldCount + chunk.size());
        }
        check(buffer.constData()[buffer.count()] == '\0');
        int from = std::max(0, buffer.count() - fresh - int(end.size()));
        for (;;) {
            const int at = buffer.find(end, from);
            if (at < 0)
                break;
            const int length = at + int(end.size());
            check(length <= buffer.count());
            QByteArray line(length, '\0');
            check(buffer.take(line.data(), length) == length);
            check(line.endsWith(end));
            from = 0;
        }
        if (buffer.count() > limit)
            buffer.clear();
    }
    buffer.release();
    check(buffer.count() == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Input in{data, size};
    if (in.byte() & 1)
        fuzzSocks(in);
    else
        fuzzLines(in);
    return 0;
}
