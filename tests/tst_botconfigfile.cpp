#include "BotConfigFile.h"
#include "BotConfigPage.h"
#include "BotConfigStore.h"
#include "CheckBoxControl.h"
#include "CheckList.h"
#include "Exceptions.h"
#include "GameFolder.h"
#include "RecordingMessageSeam.h"
#include "TextField.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

const QString ModFolder = QStringLiteral("cstrike");
const QString ConfigPath = QDir::toNativeSeparators(QStringLiteral("cstrike/bot.cfg"));

const QList<QByteArray> Header{
    "# Tavrik by Dravenholt",
    "# This bot.cfg file was generated automatically by the Tavrik Control Centre v1.0",
    "pause 3"};

// The page's check boxes under the short names the tables use.
QList<QPair<QString, CheckBoxControl*>> Boxes(const BotConfigPage& p)
{
    return {{"Disco", p.DiscoModeCheckBox},
            {"Knife", p.KnifeModeCheckBox},
            {"Pistol", p.PistolModeCheckBox},
            {"Observer", p.ObserverModeCheckBox},
            {"UseGrenade", p.UseGrenadeCheckBox},
            {"BotsCanChat", p.BotsCanChatCheckBox},
            {"BotsDontShoot", p.BotsDontShootCheckBox},
            {"AutoTeamBalance", p.AutoTeamBalanceCheckBox},
            {"OnlineMode", p.OnlineModeCheckBox}};
}

// What the page shows, one "name=value" entry per control: the numbers of the
// checked roster entries, every box as 1 or 0, the two fields' texts.
QStringList Shown(const BotConfigPage& page)
{
    QStringList checked;
    for (int index = 0; index < page.BotCheckList->EntryCount(); ++index) {
        if (page.BotCheckList->IsEntryChecked(index))
            checked << QString::number(index + 1);
    }
    QStringList shown{"roster=" + checked.join(' ')};
    for (const auto& [name, box] : Boxes(page))
        shown << name + (box->Checked() ? "=1" : "=0");
    shown << "MinBots=" + page.MinBots->Text() << "MaxBots=" + page.MaxBots->Text();
    return shown;
}

// What a PreparedPage shows once reset: the fields keep their texts.
QStringList ResetShown()
{
    return {"roster=", "Disco=0", "Knife=0", "Pistol=0", "Observer=0", "UseGrenade=1",
            "BotsCanChat=1", "BotsDontShoot=0", "AutoTeamBalance=0", "OnlineMode=1",
            "MinBots=4", "MaxBots=12"};
}

// `shown` with the entries that `changes` name replaced by them.
QStringList Changed(QStringList shown, const QStringList& changes)
{
    for (const QString& change : changes) {
        const QString prefix = change.section('=', 0, 0) + '=';
        const auto entry = std::find_if(shown.begin(), shown.end(),
                                        [&](const QString& s) { return s.startsWith(prefix); });
        if (entry == shown.end())
            qFatal("no control named by %s", qPrintable(change));
        *entry = change;
    }
    return shown;
}

// Sets the controls that `changes` name, as Shown names them.
void Apply(BotConfigPage& page, const QStringList& changes)
{
    for (const QString& change : changes) {
        const QString name = change.section('=', 0, 0);
        const QString value = change.section('=', 1);
        if (name == "roster") {
            for (int index = 0; index < page.BotCheckList->EntryCount(); ++index)
                page.BotCheckList->SetEntryChecked(index, false);
            for (const QString& number : value.split(' ', Qt::SkipEmptyParts))
                page.BotCheckList->SetEntryChecked(number.toInt() - 1, true);
        } else if (name == "MinBots") {
            page.MinBots->SetText(value);
        } else if (name == "MaxBots") {
            page.MaxBots->SetText(value);
        } else {
            bool found = false;
            for (const auto& [boxName, box] : Boxes(page)) {
                if (boxName == name) {
                    box->SetChecked(value == "1");
                    found = true;
                }
            }
            if (!found)
                qFatal("no control named by %s", qPrintable(change));
        }
    }
}

// Sets the controls as the user would: the page takes it for an edit.
void UserSets(BotConfigPage& page, const QStringList& changes)
{
    Apply(page, changes);
    page.BotConfigSaveGuard.UserEdited();
}

// A built page whose roster lists four personalities and whose every control
// shows the opposite of what a reset gives, so that a control a load should
// have set, and did not, shows.
struct PreparedPage {
    PreparedPage()
    {
        BuildBotConfigPage(page, tab);
        for (const char* name : {"Raven", "Finch", "Heron", "Crane"})
            page.BotCheckList->AddEntry(QString::fromLatin1(name));
        Apply(page, {"roster=1 2 3 4", "Disco=1", "Knife=1", "Pistol=1", "Observer=1",
                     "UseGrenade=0", "BotsCanChat=0", "BotsDontShoot=1", "AutoTeamBalance=1",
                     "OnlineMode=0", "MinBots=4", "MaxBots=12"});
    }

    QWidget tab;
    BotConfigPage page;
};

// The failure's message, or an empty text.
QString LoadFailure(BotConfigPage& page)
{
    try {
        LoadShownBotConfig(page, ModFolder);
    } catch (const Exception& failure) {
        return failure.Message();
    }
    return QString();
}

// "box: " and the failure's message, or an empty text.
QString SaveFailure(BotConfigPage& page)
{
    try {
        SaveShownBotConfig(page, ModFolder);
    } catch (const Exception& failure) {
        return "box: " + failure.Message();
    }
    return QString();
}

QString NotInteger(const QString& text)
{
    return "'" + text + "' is not a valid integer value";
}

// Lines each ended by an LF alone, as a file written on Linux holds them.
QByteArray LfLines(const QList<QByteArray>& lines)
{
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + '\n';
    return bytes;
}

// The page's fixed form as a file the page creates holds it.
QByteArray FixedForm(const BotConfigPage& page)
{
    QList<QByteArray> lines;
    for (const QString& line : BotConfigLines(page))
        lines << line.toLatin1();
    return CrLfLines(lines);
}

} // namespace

// Every test runs in a game folder of its own with an empty mod folder.
class BotConfigFileTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchGameFolder> game;

private slots:
    void init()
    {
        game = std::make_unique<ScratchGameFolder>();
        QVERIFY(QDir().mkpath(ModFolder));
    }

    void cleanup() { game.reset(); }

    // ---- Reading ----------------------------------------------------------

    void readerAppliesLines_data()
    {
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::addColumn<QStringList>("changes"); // from ResetShown()
        QTest::addColumn<QString>("failure");
        const auto row = [](const char* name, const QList<QByteArray>& lines,
                            const QStringList& changes, const QString& failure = QString()) {
            QTest::newRow(name) << lines << changes << failure;
        };

        row("empty file", {}, {});
        row("header written by the editor", Header, {});
        row("empty lines", {"", "disco 1", ""}, {"Disco=1"});

        // Blanks (spaces and tabs) before the key and between key and value,
        // and a "//" outside double quotes begins a comment, as in the
        // game's console.
        row("tab between key and value", {"disco\t1", "loadbot\t \t3"}, {"Disco=1", "roster=3"});
        row("blanks before the key", {"\tloadbot 2", "  knifemode 1", "\t// disco 1"},
            {"roster=2", "Knife=1"});
        row("comment after a value", {"loadbot 1 // my favourite", "pistolmode 1// on",
                                      "min_bots 3\t//LAN", "usegrenades 0 // x // y"},
            {"roster=1", "Pistol=1", "MinBots=3", "UseGrenade=0"});
        row("no comment inside double quotes", {"say \"http://x\"", "disco \"1 // x\""}, {},
            NotInteger("\"1 // x\""));
        row("key alone", {"disco"}, {});
        row("trailing space", {"disco "}, {});
        row("a lone space", {" "}, {});
        row("one character", {"7"}, {});
        row("value of a blank", {"disco  "}, {});
        row("blank before the value", {"disco  1"}, {"Disco=1"});
        row("value of two words", {"disco 2 3"}, {}, NotInteger("2 3"));
        row("blanks after the value", {"disco 1 \t ", "min_bots 3  ", "loadbot 2\t"},
            {"Disco=1", "MinBots=3", "roster=2"});
        row("empty key", {" 5"}, {});
        row("blank before a comment", {" # bots for LAN games"}, {});
        row("comment of the game's scripts", {"// disco 1", "//loadbot 2", "knifemode 1"},
            {"Knife=1"});

        // A key the page does not know is the user's, whatever its value; the
        // page's own keys need integers, and the lines before a bad one have
        // their effect and the lines after it are not read.
        row("unknown keys", {"pause 3", "foo 12", "Disco 1", "MIN_BOTS 5"}, {});
        row("words as values of unknown keys",
            {"disco 1", "min_bots 2", "map de_dust", "sv_password secret two", "max_bots 9"},
            {"Disco=1", "MinBots=2", "MaxBots=9"});
        row("stops at a value of its own that is no integer",
            {"disco 1", "min_bots 2", "knifemode yes", "max_bots 9", "loadbot 1"},
            {"Disco=1", "MinBots=2"}, NotInteger("yes"));

        row("disco", {"disco 1"}, {"Disco=1"});
        row("knifemode", {"knifemode 1"}, {"Knife=1"});
        row("pistolmode", {"pistolmode 1"}, {"Pistol=1"});
        row("observer", {"observer 1"}, {"Observer=1"});
        row("botdontshoot", {"botdontshoot 1"}, {"BotsDontShoot=1"});
        row("mp_autoteambalance", {"mp_autoteambalance 1"}, {"AutoTeamBalance=1"});
        row("usegrenades", {"usegrenades 0"}, {"UseGrenade=0"});
        row("botchat", {"botchat 0"}, {"BotsCanChat=0"});
        row("onlinemode", {"onlinemode 0"}, {"OnlineMode=0"});
        row("any value but 0 checks", {"disco 2", "observer -1", "pistolmode $10"},
            {"Disco=1", "Observer=1", "Pistol=1"});
        row("any value but 0 leaves checked", {"usegrenades 1", "botchat 2", "onlinemode -1"}, {});
        row("0 leaves unchecked", {"knifemode 0", "mp_autoteambalance 0", "botdontshoot 00"}, {});
        row("a later line does not undo", {"disco 1", "disco 0", "onlinemode 0", "onlinemode 1"},
            {"Disco=1", "OnlineMode=0"});

        row("roster entries", {"loadbot 3", "loadbot 1"}, {"roster=1 3"});
        row("last roster entry", {"loadbot 4"}, {"roster=4"});
        row("numbers outside the roster", {"loadbot 5", "loadbot 0", "loadbot -1"}, {});

        row("bot numbers", {"min_bots 3", "max_bots 9"}, {"MinBots=3", "MaxBots=9"});
        row("the last bot number wins", {"min_bots 3", "min_bots 8"}, {"MinBots=8"});
        row("bot numbers in plain decimal", {"min_bots 007", "max_bots -1"}, {"MinBots=7", "MaxBots=-1"});
        row("plus sign", {"min_bots +5"}, {"MinBots=5"});
        row("hexadecimal", {"max_bots $10", "min_bots 0x1F"}, {"MaxBots=16", "MinBots=31"});
        // The fields are written as typed, so what is no integer shows as it stands.
        row("bot numbers that are no integers", {"min_bots four", "max_bots -", "disco 1"},
            {"MinBots=four", "MaxBots=-", "Disco=1"});
        row("bot number of two words or a blank", {"min_bots 2 3", "max_bots  "},
            {"MinBots=2 3"});

        // A line feed alone ends a line too, as in files written on Linux.
        row("line feeds alone", {"# made on Linux\nloadbot 1\ndisco 1\n"}, {"roster=1", "Disco=1"});
        row("line feeds alone after CR LF lines", {"disco 1", "knifemode 1\nloadbot 2"},
            {"Disco=1", "Knife=1", "roster=2"});
    }

    void readerAppliesLines()
    {
        QFETCH(QList<QByteArray>, lines);
        QFETCH(QStringList, changes);
        QFETCH(QString, failure);
        PreparedPage prepared;
        WriteBytes(ConfigPath, CrLfLines(lines));

        QCOMPARE(LoadFailure(prepared.page), failure);
        QCOMPARE(Shown(prepared.page), Changed(ResetShown(), changes));
    }

    // ---- Writing ----------------------------------------------------------

    void writerLines_data()
    {
        QTest::addColumn<QStringList>("changes"); // to a reset page
        QTest::addColumn<QList<QByteArray>>("lines"); // after the header

        QTest::newRow("reset values")
            << QStringList{"MinBots=1", "MaxBots=1"}
            << QList<QByteArray>{"mp_autoteambalance 0", "min_bots 1", "max_bots 1"};
        QTest::newRow("everything changed")
            << QStringList{"roster=1 3", "Disco=1", "Knife=1", "Pistol=1", "Observer=1",
                           "UseGrenade=0", "BotsCanChat=0", "BotsDontShoot=1", "AutoTeamBalance=1",
                           "OnlineMode=0", "MinBots=abc", "MaxBots="}
            << QList<QByteArray>{"loadbot 1", "loadbot 3", "disco 1", "knifemode 1", "pistolmode 1",
                                 "observer 1", "usegrenades 0", "botchat 0", "botdontshoot 1",
                                 "mp_autoteambalance 1", "onlinemode 0", "min_bots abc", "max_bots "};
        QTest::newRow("last entry, offline")
            << QStringList{"roster=4", "OnlineMode=0", "MinBots=0", "MaxBots=-1"}
            << QList<QByteArray>{"loadbot 4", "mp_autoteambalance 0", "onlinemode 0", "min_bots 0",
                                 "max_bots -1"};
        QTest::newRow("numbers as typed")
            << QStringList{"MinBots=+5", "MaxBots= 07"}
            << QList<QByteArray>{"mp_autoteambalance 0", "min_bots +5", "max_bots  07"};
    }

    void writerLines()
    {
        QFETCH(QStringList, changes);
        QFETCH(QList<QByteArray>, lines);
        PreparedPage prepared;
        ResetBotConfig(prepared.page);
        UserSets(prepared.page, changes);

        QCOMPARE(SaveFailure(prepared.page), QString());

        QCOMPARE(ReadBytes(ConfigPath), CrLfLines(Header + lines));
    }

    // ---- Saved, then loaded into a page that shows something else -----------

    void savedPageLoadsBack_data()
    {
        QTest::addColumn<QStringList>("changes"); // to the saving page, once reset
        QTest::addColumn<QStringList>("loaded");  // from ResetShown()
        QTest::addColumn<QString>("failure");
        const auto row = [](const char* name, const QStringList& changes, const QStringList& loaded,
                            const QString& failure = QString()) {
            QTest::newRow(name) << changes << loaded << failure;
        };
        const auto same = [&](const char* name, const QStringList& changes) { row(name, changes, changes); };

        same("reset values", {"MinBots=1", "MaxBots=1"});
        same("everything changed",
             {"roster=1 3", "Disco=1", "Knife=1", "Pistol=1", "Observer=1", "UseGrenade=0",
              "BotsCanChat=0", "BotsDontShoot=1", "AutoTeamBalance=1", "OnlineMode=0", "MinBots=2",
              "MaxBots=6"});
        same("no grenades, no chat", {"UseGrenade=0", "BotsCanChat=0", "MinBots=0", "MaxBots=5"});
        same("balanced teams offline", {"roster=4", "AutoTeamBalance=1", "OnlineMode=0", "MinBots=3", "MaxBots=3"});
        same("whole roster observing", {"roster=1 2 3 4", "Observer=1", "BotsDontShoot=1", "MinBots=-1",
                                        "MaxBots=-1"});
        same("knife and pistol", {"Knife=1", "Pistol=1", "MinBots=6", "MaxBots=10"});

        row("typed numbers come back plain", {"MinBots=+5", "MaxBots=007"}, {"MinBots=5", "MaxBots=7"});
        row("blank and hexadecimal", {"MinBots= 3", "MaxBots=$10"}, {"MinBots=3", "MaxBots=16"});

        // A field that holds no integer comes back as typed.
        same("letters in MinBots", {"Disco=1", "MinBots=abc", "MaxBots=3"});
        same("letters in MaxBots", {"MinBots=2", "MaxBots=ten"});
        same("a minus alone", {"MinBots=4", "MaxBots=-"});
        // An emptied field's line ends in its separating space and is passed
        // over, and so is one of blanks alone.
        row("MinBots emptied", {"MinBots=", "MaxBots=3"}, {"MaxBots=3"});
        row("a blank in MinBots", {"MinBots= ", "MaxBots=3"}, {"MaxBots=3"});
        row("MaxBots emptied", {"MinBots=2", "MaxBots="}, {"MinBots=2"});
    }

    void savedPageLoadsBack()
    {
        QFETCH(QStringList, changes);
        QFETCH(QStringList, loaded);
        QFETCH(QString, failure);
        PreparedPage saving;
        ResetBotConfig(saving.page);
        UserSets(saving.page, changes);
        QCOMPARE(SaveFailure(saving.page), QString());

        PreparedPage loading;
        QCOMPARE(LoadFailure(loading.page), failure);
        QCOMPARE(Shown(loading.page), Changed(ResetShown(), loaded));
    }

    // ---- A save changes only the lines of what the user changed -------------

    void saveKeepsEveryOtherLine_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("changes"); // the user's, after the load
        QTest::addColumn<QByteArray>("saved");

        // Written by hand: comments, an empty line, unknown commands, a line
        // the reader skips, options that repeat their usual value, a count
        // with leading zeros, and the page's own lines out of their order.
        const QList<QByteArray> lan{"# my LAN setup", "", "pause 5", "loadbot 2", "bot_skill 3",
                                    "sv_gravity 800", "addbot", "usegrenades 1", "min_bots 007",
                                    "knifemode 2", "# end"};
        const auto with = [&](qsizetype at, const QByteArray& line) {
            QList<QByteArray> lines = lan;
            lines.insert(at, line);
            return lines;
        };
        const auto without = [&](const QByteArray& line) {
            QList<QByteArray> lines = lan;
            lines.removeAll(line);
            return lines;
        };
        const auto replaced = [&](const QByteArray& line, const QByteArray& by) {
            QList<QByteArray> lines = lan;
            lines[lines.indexOf(line)] = by;
            return lines;
        };
        const auto row = [](const char* name, const QByteArray& file, const QStringList& changes,
                            const QByteArray& saved) {
            QTest::newRow(name) << file << changes << saved;
        };
        row("option checked, after the roster", LfLines(lan), {"Disco=1"},
            LfLines(with(4, "disco 1")));
        row("option checked, after the last own line before it", CrLfLines(lan),
            {"AutoTeamBalance=1"}, CrLfLines(with(10, "mp_autoteambalance 1")));
        row("usual value left", LfLines(lan), {"UseGrenade=0"},
            LfLines(with(10, "usegrenades 0")));
        row("option unchecked", LfLines(lan), {"Knife=0"}, LfLines(without("knifemode 2")));
        row("roster entry checked", CrLfLines(lan), {"roster=2 4"},
            CrLfLines(with(4, "loadbot 4")));
        row("roster entry unchecked", LfLines(lan), {"roster="}, LfLines(without("loadbot 2")));
        row("bot count replaced in place", LfLines(lan), {"MinBots=3"},
            LfLines(replaced("min_bots 007", "min_bots 3")));
        row("bot count added", LfLines(lan), {"MaxBots=9"}, LfLines(with(10, "max_bots 9")));

        row("every line of the entry goes", CrLfLines({"loadbot 2", "loadbot 3", "loadbot 02"}),
            {"roster=3"}, CrLfLines({"loadbot 3"}));
        row("a new entry among the others, by number",
            CrLfLines({"loadbot 4", "pause 3", "loadbot 1", "disco 1"}), {"roster=1 3 4"},
            CrLfLines({"loadbot 4", "pause 3", "loadbot 1", "loadbot 3", "disco 1"}));
        row("first own line: before the next one",
            CrLfLines({"# start", "onlinemode 0", "# end"}), {"Observer=1"},
            CrLfLines({"# start", "observer 1", "onlinemode 0", "# end"}));
        row("no own line: at the end, the last line ended first", "pause 3", {"roster=1"},
            "pause 3\r\nloadbot 1\r\n");
        row("what follows Ctrl-Z stays", "disco 1\r\n\x1a disco 1\r\n", {"Disco=0"},
            "\x1a disco 1\r\n");
        row("team balance switched off everywhere",
            LfLines({"mp_autoteambalance 1", "# x", "mp_autoteambalance 3"}), {"AutoTeamBalance=0"},
            LfLines({"# x", "mp_autoteambalance 0"}));
        row("team balance switched on in its last line",
            LfLines({"mp_autoteambalance 0", "mp_autoteambalance 0"}), {"AutoTeamBalance=1"},
            LfLines({"mp_autoteambalance 0", "mp_autoteambalance 1"}));
        row("a count emptied takes the earlier ones along",
            LfLines({"min_bots 2", "pause 1", "min_bots 5"}), {"MinBots="},
            LfLines({"pause 1", "min_bots "}));
        row("a count of the last line without a value", LfLines({"min_bots 2", "min_bots "}),
            {"MinBots=6"}, LfLines({"min_bots 2", "min_bots 6"}));
        row("a count without a value keeps its comment", CrLfLines({"\tmin_bots\t// LAN", "pause 1"}),
            {"MinBots=6"}, CrLfLines({"\tmin_bots 6\t// LAN", "pause 1"}));
        row("an entry beyond the roster stays", LfLines({"loadbot 7", "loadbot 1"}),
            {"roster=", "Pistol=1"}, LfLines({"loadbot 7", "pistolmode 1"}));
        row("comments of both kinds and word values stay",
            CrLfLines({"// LAN", "map de_dust2", "disco 1 ", "sv_password secret"}),
            {"Knife=1"},
            CrLfLines({"// LAN", "map de_dust2", "disco 1 ", "knifemode 1", "sv_password secret"}));
        row("a change and its undoing write nothing", LfLines(lan), {"Disco=1", "Disco=0"},
            LfLines(lan));

        // Lines as people write them: tabs and comments stay byte for byte
        // where another line changes, and are read as the page reads them.
        const QList<QByteArray> own{"loadbot 1 // my favourite", "\tloadbot 2", "loadbot\t3",
                                    "\tdisco\t1\t// party", "\tmin_bots\t2 // LAN",
                                    "mp_autoteambalance 1 // fair"};
        const auto ownWith = [&](qsizetype at, const QByteArray& line) {
            QList<QByteArray> lines = own;
            lines.insert(at, line);
            return lines;
        };
        const auto ownReplaced = [&](qsizetype at, const QByteArray& by) {
            QList<QByteArray> lines = own;
            lines[at] = by;
            return lines;
        };
        row("an indented entry is the entry's line", CrLfLines(own), {"roster=1 2 3 4"},
            CrLfLines(ownWith(3, "loadbot 4")));
        row("entries unchecked with their tabs and comments", LfLines(own), {"roster=2"},
            LfLines(own.mid(1, 1) + own.mid(3)));
        row("an option after a commented one", CrLfLines(own), {"Knife=1"},
            CrLfLines(ownWith(4, "knifemode 1")));
        row("an option unchecked with its comment", LfLines(own), {"Disco=0"},
            LfLines(own.mid(0, 3) + own.mid(4)));
        row("a count keeps its tabs and comment", CrLfLines(own), {"MinBots=5"},
            CrLfLines(ownReplaced(4, "\tmin_bots\t5 // LAN")));
        row("the team balance keeps its comment", LfLines(own), {"AutoTeamBalance=0"},
            LfLines(ownReplaced(5, "mp_autoteambalance 0 // fair")));
        row("a quote typed would hide the comment", CrLfLines(own), {"MinBots=\"5"},
            CrLfLines(ownReplaced(4, "min_bots \"5")));
        // A lone CR and an LF alone on each side of what a save takes away
        // would read as one line end: the empty line stays a line.
        row("a lone CR before an empty line", "#18\r\npause 5\rdisco 1\n\n", {"Disco=0"},
            "#18\r\npause 5\r\r\n");
    }

    void saveKeepsEveryOtherLine()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, changes);
        QFETCH(QByteArray, saved);
        PreparedPage prepared;
        WriteBytes(ConfigPath, file);
        QCOMPARE(LoadFailure(prepared.page), QString());
        const QStringList loaded = Shown(prepared.page);
        for (const QString& change : changes)
            UserSets(prepared.page, {change});

        QCOMPARE(SaveFailure(prepared.page), QString());
        QCOMPARE(ReadBytes(ConfigPath), saved);
        // What was saved loads back to what the page shows.
        const QStringList shown = Shown(prepared.page);
        QCOMPARE(LoadFailure(prepared.page), QString());
        QCOMPARE(Shown(prepared.page), shown);
        QCOMPARE(loaded == shown, file == saved);
    }

    // A file in the page's fixed form stays exactly the fixed form of the
    // page, whatever the user changes one save after another.
    void fixedFormStaysFixed_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u, 4u, 5u, 6u})
            QTest::newRow(qPrintable(QString::number(seed))) << seed;
    }

    void fixedFormStaysFixed()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const QStringList counts{"1", "3", "", " ", "-1", "abc", "007"};
        PreparedPage prepared;
        ResetBotConfig(prepared.page);
        WriteBytes(ConfigPath, FixedForm(prepared.page));
        QCOMPARE(LoadFailure(prepared.page), QString());
        for (int save = 0; save < 60; ++save) {
            const int what = random.bounded(15);
            BotConfigPage& page = prepared.page;
            if (what < 4)
                page.BotCheckList->SetEntryChecked(what, !page.BotCheckList->IsEntryChecked(what));
            else if (what < 13)
                Boxes(page)[what - 4].second->SetChecked(!Boxes(page)[what - 4].second->Checked());
            else
                (what == 13 ? page.MinBots : page.MaxBots)
                    ->SetText(counts.at(random.bounded(int(counts.size()))));
            page.BotConfigSaveGuard.UserEdited();
            QCOMPARE(SaveFailure(page), QString());
            QCOMPARE(ReadBytes(ConfigPath), FixedForm(page));
        }
    }

    // ---- Saves over a file the page does not hold ---------------------------

    // A load that stops part-way leaves the page with only some of the file's
    // lines; saving it would throw the rest of the file away.
    void partlyReadFileIsNotSavedOver_data()
    {
        QTest::addColumn<QByteArray>("broken");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("stoppedAt");
        QTest::newRow("a value that is no integer")
            << CrLfLines({"loadbot 2", "disco two", "max_bots 9"}) << NotInteger("two")
            << "line 2, \"disco two\": " + NotInteger("two");
        QTest::newRow("line feeds alone")
            << QByteArray("# made on Linux\nloadbot 2\n\tknifemode two // x\nmin_bots 3\n")
            << NotInteger("two") << "line 3, \"\tknifemode two // x\": " + NotInteger("two");
    }

    void partlyReadFileIsNotSavedOver()
    {
        QFETCH(QByteArray, broken);
        QFETCH(QString, failure);
        QFETCH(QString, stoppedAt);
        RecordingMessageSeam seam;
        PreparedPage prepared;
        WriteBytes(ConfigPath, broken);

        QCOMPARE(LoadFailure(prepared.page), failure);
        QCOMPARE(SaveFailure(prepared.page), QString());
        UserSets(prepared.page, {"Observer=1"});
        QCOMPARE(SaveFailure(prepared.page),
                 "box: " + ConfigPath + " was not saved: it could not be read completely, "
                 "stopping at " + stoppedAt + ". Press F5 to load it from disk; saves go ahead "
                 "once it has loaded completely");
        QCOMPARE(SaveFailure(prepared.page), QString());
        QCOMPARE(ReadBytes(ConfigPath), broken);

        WriteBytes(ConfigPath, CrLfLines({"loadbot 2", "min_bots 2", "max_bots 9"}));
        QCOMPARE(LoadFailure(prepared.page), QString());
        UserSets(prepared.page, {"Knife=1"});
        QCOMPARE(SaveFailure(prepared.page), QString());
        QCOMPARE(ReadBytes(ConfigPath), CrLfLines({"loadbot 2", "knifemode 1", "min_bots 2", "max_bots 9"}));
        QVERIFY(seam.boxes.isEmpty());
    }

    void missingFileIsCreated_data()
    {
        QTest::addColumn<QList<QByteArray>>("lines"); // removed after the load
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QList<QByteArray>>("saved"); // after the header

        QTest::newRow("no file to load")
            << QList<QByteArray>() << QString()
            << QList<QByteArray>{"observer 1", "mp_autoteambalance 0", "min_bots 4", "max_bots 12"};
        QTest::newRow("removed after a part-way load")
            << QList<QByteArray>{"disco 1", "knifemode many", "min_bots 2"} << NotInteger("many")
            << QList<QByteArray>{"disco 1", "observer 1", "mp_autoteambalance 0", "min_bots 4",
                                 "max_bots 12"};
    }

    void missingFileIsCreated()
    {
        QFETCH(QList<QByteArray>, lines);
        QFETCH(QString, failure);
        QFETCH(QList<QByteArray>, saved);
        RecordingMessageSeam seam;
        PreparedPage prepared;
        if (!lines.isEmpty())
            WriteBytes(ConfigPath, CrLfLines(lines));

        QCOMPARE(LoadFailure(prepared.page), failure);
        if (!lines.isEmpty())
            QVERIFY(QFile::remove(ConfigPath));

        // Only an edit creates the missing file.
        QCOMPARE(SaveFailure(prepared.page), QString());
        QVERIFY(!QFile::exists(ConfigPath));
        UserSets(prepared.page, {"Observer=1"});
        QCOMPARE(SaveFailure(prepared.page), QString());
        QCOMPARE(ReadBytes(ConfigPath), CrLfLines(Header + saved));
        QVERIFY(seam.boxes.isEmpty());
    }
};

QTEST_MAIN(BotConfigFileTest)
#include "tst_botconfigfile.moc"
