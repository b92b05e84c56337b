#include "BotConfigChanges.h"
#include "ChatChanges.h"
#include "PersonalityChanges.h"
#include "PersonalityFile.h"

#include <QtTest>

namespace {

// Lines ended in CR LF, the last one too.
QByteArray Lines(const QList<QByteArray>& lines)
{
    QByteArray content;
    for (const QByteArray& line : lines)
        content += line + "\r\n";
    return content;
}

// A new personality's file with some lines (numbered from 1) replaced, cut
// after its first `count` lines.
QByteArray PersonalityText(const QMap<int, QByteArray>& changed = {}, int count = 29)
{
    QList<QByteArray> lines;
    for (int line = 1; line <= count; ++line)
        lines << changed.value(line, NewPersonalityLines[std::size_t(line - 1)]);
    return Lines(lines);
}

QString BotName(int number)
{
    return number == 5 ? QStringLiteral("Rex") : number == 2 ? QString() : QStringLiteral("Bot");
}

Difference DifferenceOf(const QString& kind, const QByteArray& before, const QByteArray& after)
{
    if (kind == "personality")
        return PersonalityDifference(before, after);
    return kind == "bot.cfg" ? BotConfigDifference(before, after, BotName)
                             : ChatDifference(before, after);
}

QString SummaryOf(const QString& kind, const QByteArray& before, const QByteArray& after)
{
    if (kind == "personality")
        return PersonalityChangeSummary(before, after);
    return kind == "bot.cfg" ? BotConfigChangeSummary(before, after, BotName)
                             : ChatChangeSummary(before, after);
}

// A row as "name|before|after", a side the version lacks as "~".
QString Shown(const DifferenceRow& row)
{
    return row.name + '|' + row.before.value_or("~") + '|' + row.after.value_or("~");
}

const QByteArray Chat = Lines({"hi", "gg", "nice shot"});

} // namespace

class ChangeTermsTest : public QObject {
    Q_OBJECT

private slots:
    void summaries_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("summary");
        const QByteArray twoRecords = PersonalityText() + PersonalityText({{1, "Max"}});
        QTest::newRow("fields in line order") << "personality" << PersonalityText({{1, "Rex"}})
            << PersonalityText({{1, "Max"}, {2, "4"}}) << "Name Rex → Max; Skill 3 → 4";
        QTest::newRow("label without its unit or blanks") << "personality" << PersonalityText()
            << PersonalityText({{20, "2"}, {29, "1"}}) << "Minimum Buy Time 1 → 2; Preferred Team 5 → 1";
        QTest::newRow("blanks kept visible") << "personality" << PersonalityText({{1, "Rex"}})
            << PersonalityText({{1, "Rex "}, {3, ""}}) << "Name Rex → \"Rex \"; Average Reaction Time 0.5 → \"\"";
        QTest::newRow("team line the record lacks") << "personality" << PersonalityText({}, 28)
            << PersonalityText({{29, "1"}}) << "Preferred Team not set → 1";
        QTest::newRow("four parts and how many more") << "personality" << PersonalityText()
            << PersonalityText({{2, "1"}, {4, "9"}, {5, "8"}, {6, "7"}, {7, "6"}, {8, "5"}})
            << "Skill 3 → 1; Camp Chance 50 → 9; Hunt Chance 50 → 8; Stealthiness 50 → 7; and 2 more";
        QTest::newRow("an earlier record") << "personality" << twoRecords
            << PersonalityText({{1, "Bob"}}) + PersonalityText({{1, "Max"}}) << "no change in what the page shows";
        QTest::newRow("a version that does not read") << "personality" << PersonalityText()
            << PersonalityText({{2, "fast"}}) << "1 line changed";
        QTest::newRow("line ends alone") << "personality" << PersonalityText()
            << PersonalityText().replace("\r\n", "\n") << "line ends changed";
        QTest::newRow("same bytes") << "personality" << PersonalityText() << PersonalityText() << "no change";
        QTest::newRow("options, roster, counts") << "bot.cfg" << Lines({"pause 3", "min_bots 2"})
            << Lines({"pause 3", "loadbot 5", "knifemode 1", "min_bots 3"})
            << "KnifeMode on; Rex joins (loadbot 5); Minimum Bots 2 → 3";
        QTest::newRow("usual values and unnamed bots") << "bot.cfg"
            << Lines({"loadbot 2", "max_bots 4"}) << Lines({"usegrenades 0", "observer 1"})
            << "Observer Mode on; Bots Can Use Grenades off; personality 2 leaves (loadbot 2); Maximum Bots 4 → not set";
        QTest::newRow("a later line undoes nothing") << "bot.cfg" << Lines({"disco 1", "min_bots 7"})
            << Lines({"disco 1", "disco 0", "min_bots 007"}) << "no change in what the page shows";
        QTest::newRow("other lines") << "bot.cfg" << Lines({"# mine", "map de_dust", "pause 3"})
            << Lines({"# mine", "map de_dust2", "pause 3", "// more", "sv_gravity 800"})
            << "1 other line changed, 2 added";
        QTest::newRow("a value of the page's that is none") << "bot.cfg" << Lines({"disco 1"})
            << Lines({"disco on"}) << "1 line changed";
        QTest::newRow("chat counts") << "chat" << Chat << Lines({"hello", "gg!", "nice shot", "lol"})
            << "2 chat lines changed, 1 added";
        QTest::newRow("one chat line removed") << "chat" << Chat << Lines({"hi", "nice shot"})
            << "1 chat line removed";
        QTest::newRow("a chat line beside its twin") << "chat" << Lines({"hi"}) << Lines({"hi", "hi"})
            << "1 chat line added";
        QTest::newRow("a chat line's twin removed") << "chat" << Lines({"hi", "hi"}) << Lines({"hi"})
            << "1 chat line removed";
        QTest::newRow("chat line ends, CR alone") << "chat" << Chat
            << QByteArray(Chat).replace("\r\n", "\r") << "line ends changed";
    }

    void summaries()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QString, summary);
        QCOMPARE(SummaryOf(kind, before, after), summary);
    }

    void rows_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("a personality that ends early") << "personality" << PersonalityText()
            << PersonalityText({}, 27) << QStringList{"|0|~", "|5|~"};
        QTest::newRow("a count given again later") << "bot.cfg" << Lines({"min_bots 2", "min_bots 5"})
            << Lines({"min_bots 9", "min_bots 5", "max_bots x"}) << QStringList{"Maximum Bots|~|x"};
        QTest::newRow("an option and a bot") << "bot.cfg" << Lines({"loadbot 05", "botchat 0", "botchat 1"})
            << Lines({"loadbot 3"}) << QStringList{"Bots Can Chat|off|on", "Bot|~|loadbot 3", "Rex|loadbot 5|~"};
        QTest::newRow("chat lines moved") << "chat" << Chat << Lines({"gg", "nice shot", "hi"})
            << QStringList{"|hi|~", "|~|hi"};
        QTest::newRow("chat lines in place of others") << "chat" << Chat << Lines({"hi", "a", "b", "c"})
            << QStringList{"|gg|a", "|nice shot|b", "|~|c"};
        QTest::newRow("a chat line beside its twin") << "chat" << Lines({"hi"}) << Lines({"hi", "hi"})
            << QStringList{"|~|hi"};
        QTest::newRow("a chat line's twin removed") << "chat" << Lines({"hi", "hi"}) << Lines({"hi"})
            << QStringList{"|hi|~"};
    }

    void rows()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QStringList, rows);
        QStringList shown;
        for (const DifferenceRow& row : DifferenceOf(kind, before, after))
            shown << Shown(row);
        QCOMPARE(shown, rows);
    }
};

QTEST_GUILESS_MAIN(ChangeTermsTest)
#include "tst_changeterms.moc"
