#pragma once

#include <QRect>
#include <QtGlobal>

/// Geometry and texts of the main window, in one place so that tests compare them with what
/// is on screen. Colours are 0x00BBGGRR.
namespace MainLayout {

inline constexpr int kWidth = 130;
inline constexpr int kHeight = 180;
/// Distance from the right screen edge and from the top of the task bar.
inline constexpr int kRightMargin = 25;
inline constexpr int kTaskbarGap = 15;

inline constexpr int kBottomPanelHeight = 24;
inline constexpr QRect kChannelBox{3, 1, 97, 21};
inline constexpr QRect kMinimizeBt{102, 2, 25, 18};
inline constexpr QRect kUserList{3, 3, 123, 150};

/// Selected rows: white text on RGB 128, 128, 255.
inline constexpr quint32 kSelectedRowColor = 16744576;
inline constexpr quint32 kSelectedTextColor = 16777215;
/// Tooltips: RGB 228, 231, 237, shown for 10 seconds.
inline constexpr quint32 kHintColor = 15591396;
inline constexpr int kHintHidePauseMs = 10000;

/// The hand-point entry of the cursor table and the platform hand cursor it is given.
inline constexpr int kCrHandPoint = -21;
inline constexpr int kIdcHand = 32649;

inline constexpr const char *kChannelHint = QT_TRANSLATE_NOOP("TMainForm", "Active channel");
inline constexpr const char *kMinimizeHint =
    QT_TRANSLATE_NOOP("TMainForm", "Minimize or right click to open menu");
inline constexpr const char *kTrayTipSuffix = QT_TRANSLATE_NOOP("TMainForm", ", click to restore");

} // namespace MainLayout
