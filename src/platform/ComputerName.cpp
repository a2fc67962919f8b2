#include "platform/ComputerName.h"

#include <climits>
#include <unistd.h>

namespace {

ComputerName::Source &overrideSource()
{
    static ComputerName::Source source;
    return source;
}

} // namespace

std::optional<QByteArray> ComputerName::read()
{
    const Source &source = overrideSource();
    std::optional<QByteArray> raw = source ? source() : systemHostName();
    if (!raw)
        return std::nullopt;
    // A fully qualified name stands for the computer by its first label only.
    QByteArray name = *raw;
    const qsizetype dot = name.indexOf('.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.isEmpty() || name.size() > MaxLength)
        return std::nullopt;
    return name;
}

void ComputerName::setSource(Source source)
{
    overrideSource() = std::move(source);
}

std::optional<QByteArray> ComputerName::systemHostName()
{
    char buffer[HOST_NAME_MAX + 1] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0)
        return std::nullopt;
    return QByteArray(buffer);
}
