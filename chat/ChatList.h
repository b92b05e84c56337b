#pragma once

#include "SaveGuard.h"

#include <QString>

struct ChatPage;

// Shows the chosen chat list in the page's text area: every line of the file
// followed by CR LF, the last one too. A file that cannot be opened (missing,
// a pipe, a folder) empties the text area before its failure; a missing one
// is then held as missing, as an empty list that only an edit creates.
void LoadChatList(ChatPage& page, const QString& modFolder);

// Leaves the page as a load of the missing list at path leaves it, without
// the load's box, since the user has just removed the file: the text area is
// empty and the next key release creates the list from what is typed.
void ShowRemovedChatList(ChatPage& page, const QString& path);

// Writes the text area's lines into the chosen chat list file, each ended in
// the line ends the file was read with and the last one as it stands, adding
// no line end. A file the page does not hold is not overwritten (see
// SaveGuard); a missing one is created. When no file can be chosen (a notice
// says why) the save is Refused.
SaveOutcome SaveChatList(ChatPage& page, const QString& modFolder);

// Saves the text area into the file at path, the one the page holds, which
// may no longer be the chosen kind's.
SaveOutcome SaveChatListTo(ChatPage& page, const QString& path, SaveWhen when);
