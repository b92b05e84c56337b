#include "BenchGame.h"

#include "ChatTypes.h"
#include "GameFolder.h"
#include "ModFolders.h"
#include "PersonalityFile.h"

#include <QDir>

#include <algorithm>
#include <stdexcept>

namespace {

const QString Mod = QStringLiteral("cstrike");

QByteArray PersonalityNamed(int number)
{
    QList<QByteArray> lines;
    for (const char* line : NewPersonalityLines)
        lines << line;
    lines[0] = "Bot" + QByteArray::number(number);
    return CrLfLines(lines);
}

QByteArray BotConfigAdding(int bots)
{
    QList<QByteArray> lines{"# Tavrik by Dravenholt",
                            "# This bot.cfg file was generated automatically by the Tavrik Control Centre v1.0",
                            "pause 3"};
    for (int number = 1; number <= bots; ++number)
        lines << "loadbot " + QByteArray::number(number);
    lines << "mp_autoteambalance 1" << "min_bots 4" << "max_bots 10";
    return CrLfLines(lines);
}

QByteArray ChatLines()
{
    QList<QByteArray> lines;
    for (int line = 1; line <= 20; ++line)
        lines << "Round " + QByteArray::number(line) + ", stay together and watch the corners";
    return CrLfLines(lines);
}

} // namespace

BenchGame::BenchGame(int personalities) : personalities_(personalities)
{
    if (!folder_.isValid())
        throw std::runtime_error("cannot make a game folder");
    const QString root = folder_.path() + QLatin1Char('/');
    for (int number = 1; number <= personalities; ++number)
        WriteBytes(root + PersonalityFilePath(Mod, number), PersonalityNamed(number));
    WriteBytes(root + BotConfigPath(Mod), BotConfigAdding(std::min(personalities, 10)));
    WriteBytes(root + ChatListPath(Mod, 0), ChatLines());
}

void BenchGame::Enter() const
{
    if (!QDir::setCurrent(folder_.path()))
        throw std::runtime_error("cannot enter the game folder");
}
