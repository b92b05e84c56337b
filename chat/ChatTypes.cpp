#include "ChatTypes.h"

#include "ModFolders.h"

QString ChatListPath(const QString& modFolder, int chatTypeIndex)
{
    const ChatType& type = ChatTypes.at(std::size_t(chatTypeIndex));
    return ChatFilePath(modFolder, QString::fromLatin1(type.FileName));
}
