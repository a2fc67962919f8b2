#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// What the chat window decides, as functions a test can call without a screen.
namespace ChatRules {

/// The chat title and the colour of CaptionLabel (0x00BBGGRR).
struct Title
{
    QString text;
    quint32 color = 0;
};

/// The selected users' names in list order joined by ", " in navy, or the program's display
/// name in gray when that leaves nothing.
Title ChatTitle(const QList<QByteArray> &selectedNames);

/// Which transcript tools the context menu offers.
struct UtilsMenuState
{
    bool copy = false;
    bool clear = false;
    bool save = false;
};

/// Copy needs a selection of at least one character; clear and save need some text.
UtilsMenuState UtilsMenu(bool hasSelection, bool transcriptEmpty);

/// The file name proposed when the transcript is saved: the chat title, which comes from
/// peers' names, made safe to stand for one file of the dialog's folder: no "/", NUL or
/// control characters, no leading dots or blanks, at most kMaxFileNameBytes in UTF-8. A name
/// that holds a dot gets ".rtf", so that its tail is not taken for an extension.
QString ProposedFileName(const QString &title);

/// Longest proposed name in UTF-8 bytes, well below the file systems' 255.
inline constexpr qsizetype kMaxFileNameBytes = 200;

} // namespace ChatRules
