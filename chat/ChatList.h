#pragma once

#include <QString>

struct ChatPage;

// Shows the chosen chat list in the page's text area: every line of the file
// followed by CR LF, the last one too. A missing file empties the text area
// before its failure; a file that cannot be opened for another reason leaves
// the text area as it was.
void LoadChatList(ChatPage& page, const QString& modFolder);

// Writes the text area into the chosen chat list file exactly as it stands,
// adding no line end. A file the page does not hold is not overwritten (see
// SaveGuard); a missing one is created.
void SaveChatList(ChatPage& page, const QString& modFolder);
