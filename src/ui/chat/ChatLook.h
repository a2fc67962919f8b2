#pragma once

#include <QtGlobal>

/// The chat window's geometry, colours and captions in one place, so that tests compare what
/// is on screen with the same values. Pixel values are those of the opening size; controls
/// anchored to the right keep their distance from the right edge.
namespace ChatLook {

inline constexpr int kOpenWidth = 250;
inline constexpr int kOpenHeight = 180;
/// Gap between the chat window's right edge and the main window's left edge.
inline constexpr int kMainGap = 5;

inline constexpr int kTopPanelHeight = 22;
inline constexpr int kBottomPanelHeight = 25;

inline constexpr int kCaptionLeft = 8;
inline constexpr int kCaptionTop = 4;

inline constexpr int kFrameButtonSize = 16;
inline constexpr int kFrameButtonTop = 3;
/// Distance of the frame buttons' left edges from the window's right edge (211 and 231 at 250).
inline constexpr int kMinimizeFromRight = kOpenWidth - 211;
inline constexpr int kCloseFromRight = kOpenWidth - 231;

inline constexpr int kSendEditLeft = 2;
inline constexpr int kSendEditTop = 2;
inline constexpr int kSendEditHeight = 21;
/// SendEdit is 207 wide at 250 and stretches with the window.
inline constexpr int kSendEditRightMargin = kOpenWidth - kSendEditLeft - 207;
inline constexpr int kSendBtFromRight = kOpenWidth - 212;
inline constexpr int kSendBtTop = 2;
inline constexpr int kSendBtWidth = 23;
inline constexpr int kSendBtHeight = 22;
inline constexpr int kGlyphSize = 16;

inline constexpr int kGripWidth = 10;
inline constexpr int kGripHeight = 23;

/// Colours, 0x00BBGGRR.
inline constexpr quint32 kWindowColor = 0x00E9E9E9; ///< RGB 233, 233, 233
inline constexpr quint32 kMemoColor = 0x00DCD1CD;   ///< RGB 205, 209, 220
inline constexpr quint32 kOutgoingNameColor = 0x00808080;

/// Typed characters the composing line takes.
inline constexpr int kSendEditMaxLength = 1000;

inline constexpr char kMinimizeHint[] = QT_TRANSLATE_NOOP("TChatForm", "Minimize");
inline constexpr char kCloseHint[] = QT_TRANSLATE_NOOP("TChatForm", "Hide");
inline constexpr char kSendHint[] = QT_TRANSLATE_NOOP("TChatForm", "Send message");
inline constexpr char kResizeHint[] = QT_TRANSLATE_NOOP("TChatForm", "Resize window");
inline constexpr char kCopyCaption[] = QT_TRANSLATE_NOOP("TChatForm", "Copy to clipboard");
inline constexpr char kClearCaption[] = QT_TRANSLATE_NOOP("TChatForm", "Clear text");
inline constexpr char kSaveCaption[] = QT_TRANSLATE_NOOP("TChatForm", "Save to file (RTF)");
inline constexpr char kSaveFilter[] =
    QT_TRANSLATE_NOOP("TChatForm", "Rich Text Format (*.rtf *.RTF)");
inline constexpr char kSaveSuffix[] = "rtf";

/// The attention signal: two tones with a pause between them.
inline constexpr int kFirstToneHz = 2000;
inline constexpr int kSecondToneHz = 1500;
inline constexpr int kToneMs = 30;
inline constexpr int kTonePauseMs = 20;

} // namespace ChatLook
