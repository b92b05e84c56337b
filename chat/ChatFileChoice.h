#pragma once

#include <QString>
#include <optional>

struct ChatPage;

// The chat list file of the kind the page's selector shows, in the given mod.
// Loading and saving choose alike. When no file can be chosen (a typed text
// selects no kind, or a Counter-Strike kind in another mod) the user is told
// why and there is no file.
std::optional<QString> ChooseChatFile(const ChatPage& page, const QString& modFolder);
