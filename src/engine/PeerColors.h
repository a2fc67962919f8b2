#pragma once

#include <QByteArray>
#include <array>

/// The transcript colours given to peers, by their names; values are 0x00BBGGRR.
namespace PeerColors {

/// "clRed", "clBlue", "clLime", "clYellow", "clGreen", "clNavy", "clAqua", "clOlive".
extern const std::array<QByteArray, 8> ColorNames;

/// The colour of a name of ColorNames (or "clBlack", "clGray"); black for unknown names.
quint32 colorByName(const QByteArray &name);

/// Name colour of a peer that lands at a row of the sorted list when it is added.
quint32 colorForRow(int row);

inline constexpr quint32 kBlack = 0x00000000;
inline constexpr quint32 kGray = 0x00808080;

} // namespace PeerColors
