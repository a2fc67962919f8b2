// Any bytes off the network must cut without a crash, and what is cut must be consistent.
// Links: tolvex_engine
#include "engine/Datagram.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray datagram(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto parts = Datagram::cut(datagram, 8);
    // The receive handler cuts without copies; both must read the same parts.
    const auto view = Datagram::cutView(datagram, 8);
    if (parts.has_value() != view.has_value())
        std::abort();
    if (parts) {
        if (view->id != parts->id || view->command() != parts->command ||
            view->fields.size() != parts->fields.size())
            std::abort();
        for (qsizetype i = 0; i < parts->fields.size(); ++i) {
            if (view->fields.at(i) != parts->fields.at(i))
                std::abort();
        }
        if (parts->id.size() != 6 || parts->command.size() != 3)
            std::abort();
        for (const QByteArray &field : parts->fields) {
            if (field.isEmpty() || field.contains('|') || field.contains('\0'))
                std::abort();
        }
    }
    const QByteArray body = Datagram::messageBody(datagram);
    if (body.size() + 7 > Datagram::kMaxSize)
        std::abort();
    return 0;
}
