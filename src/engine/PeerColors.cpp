#include "engine/PeerColors.h"

namespace PeerColors {

const std::array<QByteArray, 8> ColorNames = {"clRed",   "clBlue", "clLime", "clYellow",
                                              "clGreen", "clNavy", "clAqua", "clOlive"};

quint32 colorByName(const QByteArray &name)
{
    struct Named
    {
        const char *name;
        quint32 value;
    };
    static constexpr Named kTable[] = {
        {"clRed", 0x0000FF},   {"clBlue", 0xFF0000}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
        {"clGreen", 0x008000}, {"clNavy", 0x800000}, {"clAqua", 0xFFFF00}, {"clOlive", 0x008080},
        {"clBlack", 0x000000}, {"clGray", 0x808080},
    };
    for (const Named &entry : kTable) {
        if (name.compare(entry.name, Qt::CaseInsensitive) == 0)
            return entry.value;
    }
    return kBlack;
}

quint32 colorForRow(int row)
{
    return colorByName(ColorNames[static_cast<size_t>(row) % ColorNames.size()]);
}

} // namespace PeerColors
