#include "ModFolders.h"

#include "Conversions.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString Piece(const char* name)
{
    return QDir::separator() + QString::fromLatin1(name);
}

} // namespace

QString ModFolderOfIndex(int index)
{
    if (index < 0 || index >= int(ModTable.size()))
        return {};
    return QString::fromLatin1(ModTable[std::size_t(index)].Folder);
}

int ModIndexOfFolder(const QString& modFolder)
{
    for (std::size_t index = 0; index < ModTable.size(); ++index)
        if (modFolder == QLatin1String(ModTable[index].Folder))
            return int(index);
    return -1;
}

int FirstModIn(const QString& gameFolder)
{
    for (std::size_t index = 0; index < ModTable.size(); ++index)
        if (QFileInfo(QDir(gameFolder), QLatin1String(ModTable[index].Folder)).isDir())
            return int(index);
    return -1;
}

bool HoldsAModFolder(const QString& gameFolder)
{
    return FirstModIn(gameFolder) >= 0;
}

bool ModFolderIsPresent(const QString& modFolder)
{
    return QFileInfo(modFolder).isDir();
}

bool IsCounterStrike(const QString& modFolder)
{
    return modFolder == QLatin1String("cstrike");
}

NumberedPath PersonalityFilePathAround(const QString& modFolder)
{
    return {modFolder + Piece("bot"), Piece("personality.txt")};
}

QString PersonalityFolderPath(const QString& modFolder, std::int32_t number)
{
    return PersonalityFilePathAround(modFolder).BeforeNumber + IntegerToText(number);
}

QString PersonalityFilePath(const QString& modFolder, std::int32_t number)
{
    const NumberedPath around = PersonalityFilePathAround(modFolder);
    return around.BeforeNumber + IntegerToText(number) + around.AfterNumber;
}

QString BotConfigPath(const QString& modFolder)
{
    return modFolder + Piece("bot.cfg");
}

QString ChatFilePath(const QString& modFolder, const QString& chatFileName)
{
    return modFolder + Piece("chat") + QDir::separator() + chatFileName;
}
