#include "ChatTypes.h"
#include "ModFolders.h"

#include <QDir>
#include <QtTest>

// Paths are compared in their backslash form, the one users of the bot know;
// the program builds them with the platform's separator.
static QString WithBackslashes(const QString& path)
{
    QString converted = path;
    return converted.replace(QDir::separator(), u'\\');
}

class ModFoldersTest : public QObject {
    Q_OBJECT

private slots:
    void selectorRowsMapToFolders_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("folder");
        QTest::newRow("0") << 0 << "Counter-Strike" << "cstrike";
        QTest::newRow("1") << 1 << "Half-Life: Death Match" << "valve";
        QTest::newRow("2") << 2 << "Half-Life: Opposing Force" << "opfor";
        QTest::newRow("3") << 3 << "Team Fortress" << "tfc";
        QTest::newRow("4") << 4 << "Front Line Force" << "flf";
        QTest::newRow("none selected") << -1 << "" << "";
        QTest::newRow("past the end") << 5 << "" << "";
    }

    void selectorRowsMapToFolders()
    {
        QFETCH(int, index);
        QFETCH(QString, caption);
        QFETCH(QString, folder);
        QCOMPARE(ModFolderOfIndex(index), folder);
        if (!caption.isEmpty())
            QCOMPARE(QString::fromLatin1(ModTable.at(std::size_t(index)).Caption), caption);
    }

    void pathForms_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("personality 3") << PersonalityFilePath("cstrike", 3)
                                       << "cstrike\\bot3\\personality.txt";
        QTest::newRow("personality 12 of valve") << PersonalityFilePath("valve", 12)
                                                 << "valve\\bot12\\personality.txt";
        QTest::newRow("personality 100") << PersonalityFilePath("opfor", 100)
                                         << "opfor\\bot100\\personality.txt";
        QTest::newRow("negative number") << PersonalityFilePath("tfc", -4)
                                         << "tfc\\bot-4\\personality.txt";
        QTest::newRow("personality folder") << PersonalityFolderPath("cstrike", 3)
                                            << "cstrike\\bot3";
        QTest::newRow("bot.cfg") << BotConfigPath("tfc") << "tfc\\bot.cfg";
        QTest::newRow("new round chat") << ChatListPath("flf", 0) << "flf\\chat\\newround.txt";
        QTest::newRow("killed by enemy") << ChatListPath("valve", 4)
                                         << "valve\\chat\\bot_whine.txt";
        QTest::newRow("defusing") << ChatListPath("cstrike", 10)
                                  << "cstrike\\chat\\defuse_bomb.txt";
    }

    void pathForms()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(WithBackslashes(path), expected);
        QVERIFY(!QDir::isAbsolutePath(path));
    }

    void counterStrikeIsTheExactFolderName_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("counterStrike");
        QTest::newRow("cstrike") << "cstrike" << true;
        QTest::newRow("upper case") << "CSTRIKE" << false;
        QTest::newRow("mixed case") << "Cstrike" << false;
        QTest::newRow("valve") << "valve" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("trailing blank") << "cstrike " << false;
    }

    void counterStrikeIsTheExactFolderName()
    {
        QFETCH(QString, folder);
        QFETCH(bool, counterStrike);
        QCOMPARE(IsCounterStrike(folder), counterStrike);
    }

    void onlyTheLastThreeChatKindsAreCounterStrikeOnly()
    {
        QCOMPARE(ChatTypes.size(), std::size_t(11));
        for (std::size_t index = 0; index < ChatTypes.size(); ++index)
            QCOMPARE(ChatTypes[index].CounterStrikeOnly, index >= 8);
    }
};

QTEST_APPLESS_MAIN(ModFoldersTest)
#include "tst_modfolders.moc"
