#include "BoundedIntegerField.h"
#include "CheckBoxControl.h"
#include "DropDownSelector.h"
#include "Exceptions.h"
#include "Fonts.h"
#include "GameFolder.h"
#include "LineFile.h"
#include "PersonalityFile.h"
#include "PersonalityPage.h"
#include "PersonalityStore.h"
#include "RecordingMessageSeam.h"
#include "TextField.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// The lines of a personality file, counted from 0.
namespace FileLine {
enum : int {
    Name, Skill, ReactionTime, CampChance, HuntChance, Stealthiness, RushChance, ChatChance,
    TeamplayValue, Obedience, Courage, KnifeUsage, PistolUsage, ShotgunUsage, SMGUsage,
    RifleUsage, SniperRifleUsage, MachinegunUsage, GrenadeUsage, MinBuyTime, MaxBuyTime,
    MinReloadTime, MaxReloadTime, MinPlayingTime, MaxPlayingTime, BotCanHear, BotCanLearn,
    AutoAdjustSkill, PreferredTeam
};
} // namespace FileLine

const QString FileName = QStringLiteral("personality.txt");
const QString EmptyConversion = QStringLiteral("'' is not a valid integer value");

// A personality whose lines all differ from each other where they can, from
// the page's start values and from a new personality, so that a line that
// lands on the wrong control shows.
QList<QByteArray> SampleLines()
{
    return {"Raven", "2",  "0.35", "11", "12", "13", "14", "15", "16",   "17",
            "18",    "19", "20",   "21", "22", "23", "24", "25", "26",   "2.5",
            "7.5",   "0.25", "1.75", "20", "45", "0",  "1",  "1",  "1"};
}

// What the page shows after reading SampleLines().
QStringList SampleShown()
{
    return {"Raven", "2",  "0.35", "11", "12", "13", "14", "15", "16",   "17",
            "18",    "19", "20",   "21", "22", "23", "24", "25", "26",   "2.5",
            "7.5",   "0.25", "1.75", "20", "45", "unchecked", "checked", "checked",
            "1 (Terrorists)"};
}

// A second personality that differs from the sample in every line.
QList<QByteArray> OtherLines()
{
    return {"Finch", "4",  "0.8", "31", "32", "33", "34", "35", "36", "37",
            "38",    "39", "40",  "41", "42", "43", "44", "45", "46", "3",
            "9",     "0.5", "2",  "30", "90", "1",  "0",  "0",  "2"};
}

// What the page shows after reading OtherLines().
QStringList OtherShown()
{
    return {"Finch", "4",  "0.8", "31", "32", "33", "34", "35", "36", "37",
            "38",    "39", "40",  "41", "42", "43", "44", "45", "46", "3",
            "9",     "0.5", "2",  "30", "90", "checked", "unchecked", "unchecked",
            "2 (Counter-Terrorists)"};
}

// What a freshly built page shows.
QStringList StartShown()
{
    return {"default", "3",  "0.5", "100", "100", "100", "100", "100", "100", "100",
            "50",      "0",  "0",   "50",  "50",  "50",  "50",  "50",  "50",  "1",
            "5",       "5",  "10",  "15",  "60",  "checked", "checked", "unchecked",
            "(none)"};
}

// What the page shows after SetDefaultPersonality.
QStringList NewPersonalityShown()
{
    return {"Bot", "3",  "0.5", "50", "50", "50", "50", "50", "100", "50",
            "50",  "0",  "0",   "50", "50", "50", "50", "50", "50",  "1",
            "5",   "4",  "7",   "15", "60", "checked", "checked", "unchecked",
            "Any"};
}

const QList<QByteArray> NewPersonalityFile{
    "Bot", "3", "0.5", "50", "50", "50", "50", "50", "100", "50", "50", "0", "0", "50", "50",
    "50",  "50", "50", "50", "1", "5", "4", "7", "15", "60", "1", "1", "0", "5"};

QList<QByteArray> With(QList<QByteArray> lines, int line, const QByteArray& value)
{
    lines[line] = value;
    return lines;
}

QStringList With(QStringList shown, int line, const QString& value)
{
    shown[line] = value;
    return shown;
}

// The first `count` entries of `first`, the rest from `second`.
QStringList Mixed(const QStringList& first, qsizetype count, const QStringList& second)
{
    return first.mid(0, count) + second.mid(count);
}

// The page built on a bare page widget whose 11-pixel font stands in for the
// main window's.
struct BuiltPage {
    BuiltPage()
    {
        tab.setFont(SansSerifFont(11));
        BuildPersonalityPage(page, tab);
    }

    QWidget tab;
    PersonalityPage page;
};

// The controls of the file's lines, in the order of the file.
std::vector<QWidget*> LineControls(const PersonalityPage& p)
{
    return {p.Name, p.Skill, p.ReactionTime, p.CampChance, p.HuntChance, p.Stealthiness,
            p.RushChance, p.ChatChance, p.TeamplayValue, p.Obedience, p.Courage, p.KnifeUsage,
            p.PistolUsage, p.ShotgunUsage, p.SMGUsage, p.RifleUsage, p.SniperRifleUsage,
            p.MachinegunUsage, p.GrenadeUsage, p.MinBuyTime, p.MaxBuyTime, p.MinReloadTime,
            p.MaxReloadTime, p.MinPlayingTime, p.MaxPlayingTime, p.BotCanHear, p.BotCanLearn,
            p.AutoAdjustSkill, p.PreferredTeamComboBox};
}

// What one control shows: the text of a field, the state of a check box, the
// selected entry of the selector, or "(none)" followed by the text part.
QString ShownBy(QWidget* control)
{
    if (auto* box = qobject_cast<CheckBoxControl*>(control)) {
        switch (box->State()) {
        case CheckState::cbChecked: return QStringLiteral("checked");
        case CheckState::cbUnchecked: return QStringLiteral("unchecked");
        case CheckState::cbGrayed: return QStringLiteral("grayed");
        }
    }
    if (auto* selector = qobject_cast<DropDownSelector*>(control)) {
        const int index = selector->SelectedIndex();
        if (index < 0)
            return (QStringLiteral("(none) ") + selector->Text()).trimmed();
        const QString entry = selector->itemText(index);
        return selector->Text() == entry ? entry : entry + QStringLiteral(" showing ") + selector->Text();
    }
    return qobject_cast<QLineEdit*>(control)->text();
}

QStringList Shown(const PersonalityPage& page)
{
    QStringList shown;
    for (QWidget* control : LineControls(page))
        shown << ShownBy(control);
    return shown;
}

// Sets the control of a file's line as the user would: the page takes it for
// an edit. A number's text, a text, "1" or "0" for a box, the selector's
// entry by its position.
void UserSets(PersonalityPage& page, int line, const QString& value)
{
    QWidget* control = LineControls(page)[std::size_t(line)];
    if (auto* number = qobject_cast<BoundedIntegerField*>(control))
        number->SetValue(value.toInt());
    else if (auto* text = qobject_cast<TextField*>(control))
        text->SetText(value);
    else if (auto* box = qobject_cast<CheckBoxControl*>(control))
        box->SetChecked(value == "1");
    else
        qobject_cast<DropDownSelector*>(control)->SetSelectedIndex(value.toInt());
    page.PersonalitySaveGuard.UserEdited();
}

// Reads the file into the page; the failure's message, or an empty text.
QString ReadInto(PersonalityPage& page, const QString& path)
{
    LineFile file = OpenForReading(path);
    try {
        ReadPersonality(file, page);
    } catch (const Exception& failure) {
        return failure.Message();
    }
    CloseLineFile(file);
    return QString();
}

// Loads the shown number from the mod folder "cstrike"; the failure's
// message, or an empty text.
QString LoadFailure(PersonalityPage& page)
{
    try {
        LoadShownPersonality(page, QStringLiteral("cstrike"));
    } catch (const Exception& failure) {
        return failure.Message();
    }
    return QString();
}

// "writes", "refused" without a box, or "box: " and the failure's message.
QString SaveAttempt(PersonalityPage& page)
{
    try {
        return SaveShownPersonality(page, QStringLiteral("cstrike")) == SaveOutcome::Saved
                   ? QStringLiteral("writes")
                   : QStringLiteral("refused");
    } catch (const Exception& failure) {
        return QStringLiteral("box: ") + failure.Message();
    }
}

QByteArray WrittenFrom(const PersonalityPage& page)
{
    LineFile file = CreateForWriting(FileName);
    WritePersonality(file, page);
    CloseLineFile(file);
    return ReadBytes(FileName);
}

// Replaces what the field shows as the user would: the old text selected and
// typed over, or deleted when nothing is typed.
void TypeInto(QLineEdit& field, const QString& typed)
{
    field.selectAll();
    if (typed.isEmpty())
        QTest::keyClick(&field, Qt::Key_Backspace);
    else
        QTest::keyClicks(&field, typed);
}

QByteArray LatinOneAbove7F()
{
    QByteArray bytes;
    for (int code = 0x80; code <= 0xFF; ++code)
        bytes += char(code);
    return bytes;
}

// Every byte that can stand in a line: all but CR, LF and the end mark Ctrl-Z.
QByteArray EveryLineByte()
{
    QByteArray bytes;
    for (int code = 0; code <= 0xFF; ++code) {
        if (code != 13 && code != 10 && code != 26)
            bytes += char(code);
    }
    return bytes;
}

} // namespace

class PersonalityFileTest : public QObject {
    Q_OBJECT

private slots:
    // ---- The page as built ------------------------------------------------

    void labels_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<int>("pixelSize");

        const auto row = [](const char* name, const char* caption, QPoint position, int pixelSize = 13) {
            QTest::newRow(name) << name << caption << position << pixelSize;
        };
        row("Label1", "Current Personality Number", {4, 12});
        row("PreferredTeamLabel", "Preferred Team (online)", {230, 8});
        row("NameLabel", "Name", {4, 45}, 16);
        row("SkillLabel", "Skill (1 = best, 5 = worst)", {4, 82});
        row("ReactionTimeLabel", "Average Reaction Time (seconds)", {4, 109});
        row("CampChanceLabel", "Camp Chance", {4, 143});
        row("HuntChanceLabel", "Hunt Chance", {4, 171});
        row("StealthinessLabel", "Stealthiness", {4, 199});
        row("RushChanceLabel", "Rush Chance", {4, 226});
        row("ChatChanceLabel", "Chat Chance", {4, 254});
        row("TeamplayValueLabel", "Teamplay Value", {4, 282});
        row("ObedienceLabel", "Obedience", {4, 309});
        row("CourageLabel", "Courage", {4, 336});
        row("KnifeUsageLabel", "Knife Usage", {311, 41});
        row("PistolUsageLabel", "Pistol Usage", {311, 64});
        row("ShotgunUsageLabel", "Shotgun Usage", {311, 87});
        row("SMGUsageLabel", "SMG Usage", {311, 110});
        row("RifleUsageLabel", "Rifle Usage", {311, 133});
        row("SniperRifleUsageLabel", "Sniper Rifle Usage", {311, 156});
        row("MachinegunUsageLabel", "Machinegun Usage", {311, 179});
        row("GrenadeUsageLabel", "Grenade Usage", {311, 202});
        row("MinBuyTimeLabel", "Minimum Buy Time         (seconds)", {311, 228});
        row("MaxBuyTimeLabel", "Maximum Buy Time        (seconds)", {311, 250});
        row("MinReloadTimeLabel", "Minimum ReloadTime   (seconds)", {311, 272});
        row("MaxReloadTimeLabel", "Maximum Reload Time (seconds)", {311, 293});
        row("MinPlayingTimeLabel", "Minimum Playing Time  ( minutes )", {311, 315});
        row("MaxPlayingTimeLabel", "Maximum Playing Time ( minutes )", {311, 337});
    }

    void labels()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QPoint, position);
        QFETCH(int, pixelSize);
        BuiltPage built;
        auto* label = built.tab.findChild<QLabel*>(name);
        QVERIFY(label != nullptr);
        QCOMPARE(label->parentWidget(), &built.tab);
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->pos(), position);
        QCOMPARE(label->font().pixelSize(), pixelSize);
        QCOMPARE(label->isEnabled(), name != "TeamplayValueLabel");
    }

    void integerFields_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<int>("minValue");
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<QString>("startText");

        const auto row = [](const char* name, QRect geometry, int pixelSize, int minValue, int maxValue,
                            const char* startText) {
            QTest::newRow(name) << name << geometry << pixelSize << minValue << maxValue << startText;
        };
        row("CurrentPersonalityNumber", {173, 2, 45, 26}, 13, 1, 100, "1");
        row("Skill", {219, 72, 55, 26}, 13, 1, 5, "3");
        row("CampChance", {219, 133, 55, 26}, 13, 0, 100, "100");
        row("HuntChance", {219, 161, 55, 26}, 13, 0, 100, "100");
        row("Stealthiness", {219, 189, 55, 26}, 13, 0, 100, "100");
        row("RushChance", {219, 216, 55, 26}, 13, 0, 100, "100");
        row("ChatChance", {219, 244, 55, 26}, 13, 0, 100, "100");
        row("TeamplayValue", {219, 272, 55, 26}, 13, 0, 100, "100");
        row("Obedience", {219, 299, 55, 26}, 13, 0, 100, "100");
        row("Courage", {219, 326, 55, 26}, 13, 0, 100, "50");
        row("KnifeUsage", {530, 35, 55, 22}, 11, 0, 100, "0");
        row("PistolUsage", {530, 58, 55, 22}, 11, 0, 100, "0");
        row("ShotgunUsage", {530, 81, 55, 22}, 11, 0, 100, "50");
        row("SMGUsage", {530, 104, 55, 22}, 11, 0, 100, "50");
        row("RifleUsage", {530, 127, 55, 22}, 11, 0, 100, "50");
        row("SniperRifleUsage", {530, 150, 55, 22}, 11, 0, 100, "50");
        row("MachinegunUsage", {530, 173, 55, 22}, 11, 0, 100, "50");
        row("GrenadeUsage", {530, 196, 55, 22}, 11, 0, 100, "50");
    }

    void integerFields()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(int, pixelSize);
        QFETCH(int, minValue);
        QFETCH(int, maxValue);
        QFETCH(QString, startText);
        BuiltPage built;
        auto* field = built.tab.findChild<BoundedIntegerField*>(name);
        QVERIFY(field != nullptr);
        QCOMPARE(field->parentWidget(), &built.tab);
        QCOMPARE(field->geometry(), geometry);
        QCOMPARE(field->font().pixelSize(), pixelSize);
        QCOMPARE(field->MinValue(), minValue);
        QCOMPARE(field->MaxValue(), maxValue);
        QCOMPARE(field->text(), startText);
        QCOMPARE(field->isEnabled(), name != "TeamplayValue");
    }

    void textFields_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<QString>("startText");

        QTest::newRow("Name") << "Name" << QRect(58, 37, 216, 28) << 16 << "default";
        QTest::newRow("ReactionTime") << "ReactionTime" << QRect(219, 104, 55, 21) << 11 << "0.5";
        QTest::newRow("MinBuyTime") << "MinBuyTime" << QRect(530, 226, 55, 21) << 11 << "1";
        QTest::newRow("MaxBuyTime") << "MaxBuyTime" << QRect(530, 248, 55, 21) << 11 << "5";
        QTest::newRow("MinReloadTime") << "MinReloadTime" << QRect(530, 270, 55, 21) << 11 << "5";
        QTest::newRow("MaxReloadTime") << "MaxReloadTime" << QRect(530, 291, 55, 21) << 11 << "10";
        QTest::newRow("MinPlayingTime") << "MinPlayingTime" << QRect(530, 313, 55, 21) << 11 << "15";
        QTest::newRow("MaxPlayingTime") << "MaxPlayingTime" << QRect(530, 335, 55, 21) << 11 << "60";
    }

    void textFields()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(int, pixelSize);
        QFETCH(QString, startText);
        BuiltPage built;
        auto* field = built.tab.findChild<TextField*>(name);
        QVERIFY(field != nullptr);
        QCOMPARE(field->parentWidget(), &built.tab);
        QCOMPARE(field->geometry(), geometry);
        QCOMPARE(field->font().pixelSize(), pixelSize);
        QCOMPARE(field->Text(), startText);
        QVERIFY(field->isEnabled());
    }

    void checkBoxes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("enabled");

        QTest::newRow("BotCanHear") << "BotCanHear" << "Bot Can Hear" << QRect(4, 363, 99, 17) << true << true;
        QTest::newRow("BotCanLearn") << "BotCanLearn" << "Bot Can Learn" << QRect(172, 363, 102, 17) << true
                                     << true;
        QTest::newRow("AutoAdjustSkill") << "AutoAdjustSkill" << "Auto-Adjust Skill"
                                         << QRect(311, 363, 115, 17) << false << false;
    }

    void checkBoxes()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, geometry);
        QFETCH(bool, checked);
        QFETCH(bool, enabled);
        BuiltPage built;
        auto* box = built.tab.findChild<CheckBoxControl*>(name);
        QVERIFY(box != nullptr);
        QCOMPARE(box->parentWidget(), &built.tab);
        QCOMPARE(box->text(), caption);
        QCOMPARE(box->geometry(), geometry);
        QCOMPARE(box->font().pixelSize(), 13);
        QCOMPARE(box->State(), checked ? CheckState::cbChecked : CheckState::cbUnchecked);
        QCOMPARE(box->isEnabled(), enabled);
    }

    void helpButtonAndPreferredTeam()
    {
        BuiltPage built;
        const PersonalityPage& p = built.page;
        QCOMPARE(p.PersonalityHelpButton->text(), QString("Personality Help"));
        QCOMPARE(p.PersonalityHelpButton->geometry(), QRect(449, 360, 136, 23));
        QCOMPARE(p.PersonalityHelpButton->font().pixelSize(), 13);
        QVERIFY(p.PersonalityHelpButton->font().bold());

        DropDownSelector* team = p.PreferredTeamComboBox;
        QCOMPARE(team->parentWidget(), &built.tab);
        QCOMPARE(team->geometry(), QRect(377, 3, 208, 21));
        QCOMPARE(team->font().pixelSize(), 11);
        QStringList entries;
        for (int index = 0; index < team->count(); ++index)
            entries << team->itemText(index);
        QCOMPARE(entries, (QStringList{"1 (Terrorists)", "2 (Counter-Terrorists)", "Any"}));
        QCOMPARE(team->SelectedIndex(), -1);
        QCOMPARE(team->Text(), QString());
    }

    // Each caption ends before its control starts.
    void captionsFitLeftOfTheirControls()
    {
        BuiltPage built;
        const PersonalityPage& p = built.page;
        const std::vector<std::pair<QLabel*, QWidget*>> pairs{
            {p.Label1, p.CurrentPersonalityNumber}, {p.PreferredTeamLabel, p.PreferredTeamComboBox},
            {p.NameLabel, p.Name}, {p.SkillLabel, p.Skill}, {p.ReactionTimeLabel, p.ReactionTime},
            {p.CampChanceLabel, p.CampChance}, {p.HuntChanceLabel, p.HuntChance},
            {p.StealthinessLabel, p.Stealthiness}, {p.RushChanceLabel, p.RushChance},
            {p.ChatChanceLabel, p.ChatChance}, {p.TeamplayValueLabel, p.TeamplayValue},
            {p.ObedienceLabel, p.Obedience}, {p.CourageLabel, p.Courage},
            {p.KnifeUsageLabel, p.KnifeUsage}, {p.PistolUsageLabel, p.PistolUsage},
            {p.ShotgunUsageLabel, p.ShotgunUsage}, {p.SMGUsageLabel, p.SMGUsage},
            {p.RifleUsageLabel, p.RifleUsage}, {p.SniperRifleUsageLabel, p.SniperRifleUsage},
            {p.MachinegunUsageLabel, p.MachinegunUsage}, {p.GrenadeUsageLabel, p.GrenadeUsage},
            {p.MinBuyTimeLabel, p.MinBuyTime}, {p.MaxBuyTimeLabel, p.MaxBuyTime},
            {p.MinReloadTimeLabel, p.MinReloadTime}, {p.MaxReloadTimeLabel, p.MaxReloadTime},
            {p.MinPlayingTimeLabel, p.MinPlayingTime}, {p.MaxPlayingTimeLabel, p.MaxPlayingTime}};
        for (const auto& [label, control] : pairs) {
            const int captionEnd = label->x() + label->fontMetrics().horizontalAdvance(label->text());
            QVERIFY2(captionEnd <= control->x(), qPrintable(label->text()));
        }
    }

    // Tab from the number field visits every enabled control once, in the
    // order of the file's lines, and comes back to the number; Shift+Tab
    // goes the other way round.
    void focusOrder()
    {
        BuiltPage built;
        const PersonalityPage& p = built.page;
        built.tab.show();
        built.tab.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&built.tab));
        const auto focusedName = [&p] {
            QWidget* focused = QApplication::focusWidget();
            // The selector's text part has the focus for it.
            if (focused && focused == p.PreferredTeamComboBox->lineEdit())
                focused = p.PreferredTeamComboBox;
            if (!focused)
                return QString("nothing");
            return focused->objectName().isEmpty() ? QString(focused->metaObject()->className())
                                                   : focused->objectName();
        };

        const auto walk = [&](Qt::Key key) {
            p.CurrentPersonalityNumber->setFocus(Qt::OtherFocusReason);
            QStringList visited{focusedName()};
            for (int step = 0; step < 40; ++step) {
                QTest::keyClick(QApplication::focusWidget(), key,
                                key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
                if (QApplication::focusWidget() == p.CurrentPersonalityNumber)
                    break;
                visited << focusedName();
            }
            return visited;
        };
        const QStringList forward{
            "CurrentPersonalityNumber", "Name", "Skill", "ReactionTime", "CampChance", "HuntChance",
            "Stealthiness", "RushChance", "ChatChance", "Obedience", "Courage", "KnifeUsage",
            "PistolUsage", "ShotgunUsage", "SMGUsage", "RifleUsage", "SniperRifleUsage",
            "MachinegunUsage", "GrenadeUsage", "MinBuyTime", "MaxBuyTime", "MinReloadTime",
            "MaxReloadTime", "MinPlayingTime", "MaxPlayingTime", "BotCanHear", "BotCanLearn",
            "PersonalityHelpButton", "PreferredTeamComboBox"};
        QCOMPARE(walk(Qt::Key_Tab), forward);

        QStringList backward = forward.mid(1);
        std::reverse(backward.begin(), backward.end());
        QCOMPARE(walk(Qt::Key_Backtab), QStringList{forward.first()} + backward);
    }

    // ---- Reading ----------------------------------------------------------

    void readerAppliesEachLineToItsControl_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("failure");

        const QList<QByteArray> sample = SampleLines();
        const QStringList shown = SampleShown();
        using namespace FileLine;

        QTest::newRow("29 lines") << CrLfLines(sample) << shown << "";
        QTest::newRow("28 lines") << CrLfLines(sample.mid(0, 28)) << With(shown, PreferredTeam, "Any") << "";
        QTest::newRow("line ends of CR alone") << sample.join('\r') + '\r' << shown << "";
        QTest::newRow("last line without line end") << sample.join("\r\n") << shown << "";
        QTest::newRow("text after Ctrl-Z is not read")
            << CrLfLines(sample) + '\x1a' + CrLfLines(OtherLines()) << shown << "";
        // Blank lines after the last record are no record, as many editors
        // leave one; a record that really ends early says where.
        QTest::newRow("29 lines and an empty line") << CrLfLines(sample) + "\r\n" << shown << "";
        QTest::newRow("28 lines and blank lines")
            << CrLfLines(sample.mid(0, 28)) + "\n \t\n\n" << With(shown, PreferredTeam, "Any") << "";
        QTest::newRow("58 lines") << CrLfLines(OtherLines()) + CrLfLines(sample) << shown << "";
        QTest::newRow("57 lines") << CrLfLines(OtherLines()) + CrLfLines(sample.mid(0, 28))
                                  << With(shown, PreferredTeam, "Any") << "";

        const QString endsEarly("The personality ends early: the file stops after its line %1");
        QTest::newRow("ends after line 19")
            << CrLfLines(sample.mid(0, 19)) << Mixed(shown, MinBuyTime, StartShown())
            << endsEarly.arg(19) + ", and a personality takes 29 lines";
        QTest::newRow("name line only") << CrLfLines({"Raven"}) << With(StartShown(), Name, "Raven")
                                        << endsEarly.arg(1) + ", and a personality takes 29 lines";
        QTest::newRow("ends inside the second record")
            << CrLfLines(OtherLines()) + CrLfLines(sample.mid(0, 4)) << Mixed(shown, 4, OtherShown())
            << endsEarly.arg(33) + ", inside the personality that begins at its line 30";
        QTest::newRow("line ends of LF alone") << sample.join('\n') + '\n' << shown << "";
        QTest::newRow("no integer at Courage")
            << CrLfLines(With(sample, Courage, "ten")) << Mixed(shown, Courage, StartShown())
            << "'ten' is not a valid integer value";
        QTest::newRow("trailing blank at BotCanLearn")
            << CrLfLines(With(sample, BotCanLearn, "1 ")) << Mixed(shown, BotCanLearn, StartShown())
            << "'1 ' is not a valid integer value";

        QTest::newRow("Skill 9 shows 5") << CrLfLines(With(sample, Skill, "9")) << With(shown, Skill, "5") << "";
        QTest::newRow("Skill 0 shows 1") << CrLfLines(With(sample, Skill, "0")) << With(shown, Skill, "1") << "";
        QTest::newRow("chance -4 shows 0")
            << CrLfLines(With(sample, RushChance, "-4")) << With(shown, RushChance, "0") << "";
        QTest::newRow("usage 250 shows 100")
            << CrLfLines(With(sample, GrenadeUsage, "250")) << With(shown, GrenadeUsage, "100") << "";
        QTest::newRow("disabled field clamps too")
            << CrLfLines(With(sample, TeamplayValue, "101")) << With(shown, TeamplayValue, "100") << "";
        QTest::newRow("007") << CrLfLines(With(sample, Obedience, "007")) << With(shown, Obedience, "7") << "";
        QTest::newRow("leading blanks, plus sign")
            << CrLfLines(With(With(sample, HuntChance, "  42"), ChatChance, "+8"))
            << With(With(shown, HuntChance, "42"), ChatChance, "8") << "";
        QTest::newRow("$10") << CrLfLines(With(sample, CampChance, "$10")) << With(shown, CampChance, "16") << "";
        QTest::newRow("0x10") << CrLfLines(With(sample, KnifeUsage, "0x10")) << With(shown, KnifeUsage, "16")
                              << "";
        QTest::newRow("FFFFFFFF is -1, clamped")
            << CrLfLines(With(sample, SMGUsage, "xFFFFFFFF")) << With(shown, SMGUsage, "0") << "";

        QTest::newRow("flag 2 checks")
            << CrLfLines(With(sample, AutoAdjustSkill, "2")) << shown << "";
        QTest::newRow("flag -1 checks")
            << CrLfLines(With(sample, AutoAdjustSkill, "-1")) << shown << "";
        QTest::newRow("flag 0 unchecks")
            << CrLfLines(With(sample, BotCanLearn, "0")) << With(shown, BotCanLearn, "unchecked") << "";
        QTest::newRow("flag 00 unchecks")
            << CrLfLines(With(sample, BotCanLearn, "00")) << With(shown, BotCanLearn, "unchecked") << "";

        const QByteArray latin = LatinOneAbove7F();
        QTest::newRow("texts as they are")
            << CrLfLines(With(With(With(sample, Name, "  Raven  " + latin), ReactionTime, "fast"), MaxBuyTime, ""))
            << With(With(With(shown, Name, "  Raven  " + QString::fromLatin1(latin)), ReactionTime, "fast"),
                    MaxBuyTime, "")
            << "";
    }

    // The page starts with its start values each time.
    void readerAppliesEachLineToItsControl()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, shown);
        QFETCH(QString, failure);
        ScratchGameFolder game;
        BuiltPage built;
        WriteBytes(FileName, file);

        QCOMPARE(ReadInto(built.page, FileName), failure);
        QCOMPARE(Shown(built.page), shown);
        QCOMPARE(ReadBytes(FileName), file);
    }

    void emptyFileShowsANewPersonality_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("no bytes") << QByteArray();
        QTest::newRow("Ctrl-Z first") << QByteArray("\x1aRaven\r\n");
    }

    // Not the personality shown before, which a save would write into this
    // file; after an earlier read, so that the shown values are not start
    // values.
    void emptyFileShowsANewPersonality()
    {
        QFETCH(QByteArray, file);
        ScratchGameFolder game;
        BuiltPage built;
        WriteBytes(FileName, CrLfLines(SampleLines()));
        QCOMPARE(ReadInto(built.page, FileName), QString());

        WriteBytes(FileName, file);
        QCOMPARE(ReadInto(built.page, FileName), QString());
        QCOMPARE(Shown(built.page), NewPersonalityShown());
    }

    void readerSetsPreferredTeam_data()
    {
        QTest::addColumn<int>("selectedBefore");
        QTest::addColumn<QList<QByteArray>>("teamLines"); // none: the file ends after line 28
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QByteArray>("saved");

        const auto row = [](const char* name, int before, QList<QByteArray> lines, const char* shown,
                            const QString& failure, const char* saved) {
            QTest::newRow(name) << before << lines << shown << failure << QByteArray(saved);
        };
        row("1", -1, {"1"}, "1 (Terrorists)", "", "1");
        row("2", -1, {"2"}, "2 (Counter-Terrorists)", "", "2");
        row("3", -1, {"3"}, "Any", "", "5");
        row("4", 0, {"4"}, "Any", "", "5");
        row("5", 0, {"5"}, "Any", "", "5");
        row("7", 1, {"7"}, "Any", "", "5");
        row("0", 2, {"0"}, "(none)", "", "0");
        row("-2", 0, {"-2"}, "(none)", "", "0");
        row("lowest integer", 1, {"-2147483648"}, "(none)", "", "0");
        row("$2", -1, {"$2"}, "2 (Counter-Terrorists)", "", "2");
        row("absent", 0, {}, "Any", "", "5");
        row("abc", 1, {"abc"}, "2 (Counter-Terrorists)", "'abc' is not a valid integer value", "2");
        row("empty: no team line", 0, {""}, "Any", "", "5");
    }

    // The next save writes the team line in the program's own form.
    void readerSetsPreferredTeam()
    {
        QFETCH(int, selectedBefore);
        QFETCH(QList<QByteArray>, teamLines);
        QFETCH(QString, shown);
        QFETCH(QString, failure);
        QFETCH(QByteArray, saved);
        ScratchGameFolder game;
        BuiltPage built;
        built.page.PreferredTeamComboBox->SetSelectedIndex(selectedBefore);
        const QList<QByteArray> record = SampleLines().mid(0, 28);
        WriteBytes(FileName, CrLfLines(record + teamLines));

        QCOMPARE(ReadInto(built.page, FileName), failure);
        QCOMPARE(ShownBy(built.page.PreferredTeamComboBox), shown);
        QCOMPARE(WrittenFrom(built.page), CrLfLines(record + QList<QByteArray>{saved}));
    }

    // ---- Writing ----------------------------------------------------------

    // Over a new personality, on a page that showed other values before, every
    // line comes from the new values.
    void newPersonalityFile_data()
    {
        QTest::addColumn<QByteArray>("shownBefore");
        QTest::newRow("start values") << QByteArray();
        QTest::newRow("a personality") << CrLfLines(SampleLines());
        QTest::newRow("another personality") << CrLfLines(OtherLines());
    }

    void newPersonalityFile()
    {
        QFETCH(QByteArray, shownBefore);
        ScratchGameFolder game;
        BuiltPage built;
        WriteBytes(FileName, shownBefore);
        QCOMPARE(ReadInto(built.page, FileName), QString());

        SetDefaultPersonality(built.page);

        QCOMPARE(WrittenFrom(built.page), CrLfLines(NewPersonalityFile));
        QCOMPARE(Shown(built.page), NewPersonalityShown());
    }

    void writerTakesWhatTheFieldsShow_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("written");

        using namespace FileLine;
        QTest::newRow("150 typed, not clamped") << int(CampChance) << "150" << QByteArray("150");
        QTest::newRow("-4 typed") << int(Stealthiness) << "-4" << QByteArray("-4");
        QTest::newRow("9 typed into Skill") << int(Skill) << "9" << QByteArray("9");
        QTest::newRow("007 typed") << int(ChatChance) << "007" << QByteArray("7");
        QTest::newRow("emptied: minimum 0") << int(HuntChance) << "" << QByteArray("0");
        QTest::newRow("emptied Skill: minimum 1") << int(Skill) << "" << QByteArray("1");
        QTest::newRow("lone sign: minimum") << int(PistolUsage) << "-" << QByteArray("0");
        QTest::newRow("sign inside: minimum") << int(RifleUsage) << "1-2" << QByteArray("0");
        QTest::newRow("name with blanks") << int(Name) << "  Raven Two  " << QByteArray("  Raven Two  ");
        QTest::newRow("reaction time fast") << int(ReactionTime) << "fast" << QByteArray("fast");
        QTest::newRow("time emptied") << int(MaxReloadTime) << "" << QByteArray("");
        QTest::newRow("maximum below its minimum") << int(MaxBuyTime) << "1" << QByteArray("1");
    }

    void writerTakesWhatTheFieldsShow()
    {
        QFETCH(int, line);
        QFETCH(QString, typed);
        QFETCH(QByteArray, written);
        ScratchGameFolder game;
        BuiltPage built;
        WriteBytes(FileName, CrLfLines(SampleLines()));
        QCOMPARE(ReadInto(built.page, FileName), QString());

        auto& field = *qobject_cast<QLineEdit*>(LineControls(built.page)[line]);
        TypeInto(field, typed);
        QCOMPARE(field.text(), typed);

        QCOMPARE(WrittenFrom(built.page), CrLfLines(With(SampleLines(), line, written)));
    }

    void writerFlagsAndTeam_data()
    {
        QTest::addColumn<std::function<void(PersonalityPage&)>>("change");
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("written");

        using Change = std::function<void(PersonalityPage&)>;
        using namespace FileLine;
        QTest::newRow("checked") << Change([](PersonalityPage& p) { p.BotCanHear->SetChecked(true); })
                                 << int(BotCanHear) << QByteArray("1");
        QTest::newRow("unchecked") << Change([](PersonalityPage& p) { p.BotCanLearn->SetChecked(false); })
                                   << int(BotCanLearn) << QByteArray("0");
        QTest::newRow("disabled box unchecked")
            << Change([](PersonalityPage& p) { p.AutoAdjustSkill->SetChecked(false); }) << int(AutoAdjustSkill)
            << QByteArray("0");
        QTest::newRow("grayed") << Change([](PersonalityPage& p) { p.BotCanLearn->SetState(CheckState::cbGrayed); })
                                << int(BotCanLearn) << QByteArray("0");
        QTest::newRow("no team selected")
            << Change([](PersonalityPage& p) { p.PreferredTeamComboBox->SetSelectedIndex(-1); })
            << int(PreferredTeam) << QByteArray("0");
        // The sample's team is already "1": leave it first, then come back.
        QTest::newRow("Terrorists")
            << Change([](PersonalityPage& p) {
                   p.PreferredTeamComboBox->SetSelectedIndex(2);
                   p.PreferredTeamComboBox->SetSelectedIndex(0);
               })
            << int(PreferredTeam) << QByteArray("1");
        QTest::newRow("Counter-Terrorists")
            << Change([](PersonalityPage& p) { p.PreferredTeamComboBox->SetSelectedIndex(1); })
            << int(PreferredTeam) << QByteArray("2");
        QTest::newRow("Any") << Change([](PersonalityPage& p) { p.PreferredTeamComboBox->SetSelectedIndex(2); })
                             << int(PreferredTeam) << QByteArray("5");
        QTest::newRow("team typed over")
            << Change([](PersonalityPage& p) { QTest::keyClicks(p.PreferredTeamComboBox->lineEdit(), "Any"); })
            << int(PreferredTeam) << QByteArray("0");
    }

    void writerFlagsAndTeam()
    {
        QFETCH(std::function<void(PersonalityPage&)>, change);
        QFETCH(int, line);
        QFETCH(QByteArray, written);
        ScratchGameFolder game;
        BuiltPage built;
        WriteBytes(FileName, CrLfLines(SampleLines()));
        QCOMPARE(ReadInto(built.page, FileName), QString());

        change(built.page);

        QCOMPARE(WrittenFrom(built.page), CrLfLines(With(SampleLines(), line, written)));
    }

    void readThenSaveKeepsAllButTheOwnForms_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("saved");

        const QList<QByteArray> sample = SampleLines();
        using namespace FileLine;
        QTest::newRow("written by the editor") << CrLfLines(sample) << CrLfLines(sample);

        QList<QByteArray> texts = sample;
        texts[Name] = "  " + LatinOneAbove7F() + " Raven\t";
        texts[ReactionTime] = "fast";
        texts[MinBuyTime] = "";
        texts[MaxBuyTime] = " 7,5 ";
        texts[MaxPlayingTime] = "\xff";
        texts[MinReloadTime] = EveryLineByte();
        QTest::newRow("texts byte for byte") << CrLfLines(texts) << CrLfLines(texts);

        QList<QByteArray> numbers = sample;
        QList<QByteArray> plain = sample;
        const auto change = [&](int line, const QByteArray& read, const QByteArray& written) {
            numbers[line] = read;
            plain[line] = written;
        };
        change(Skill, "9", "5");
        change(CampChance, "007", "7");
        change(HuntChance, "-4", "0");
        change(Stealthiness, "  42", "42");
        change(RushChance, "+8", "8");
        change(ChatChance, "$10", "16");
        change(TeamplayValue, "0X1f", "31");
        change(KnifeUsage, "250", "100");
        change(BotCanHear, "2", "1");
        change(BotCanLearn, "-1", "1");
        change(AutoAdjustSkill, "000", "0");
        change(PreferredTeam, "7", "5");
        QTest::newRow("numbers in plain decimal, clamped") << CrLfLines(numbers) << CrLfLines(plain);

        QTest::newRow("team -2") << CrLfLines(With(sample, PreferredTeam, "-2"))
                                 << CrLfLines(With(sample, PreferredTeam, "0"));
        QTest::newRow("line 29 missing") << CrLfLines(sample.mid(0, 28))
                                         << CrLfLines(With(sample, PreferredTeam, "5"));
        QTest::newRow("line ends of CR alone") << sample.join('\r') + '\r' << CrLfLines(sample);
        QTest::newRow("end mark") << CrLfLines(sample) + "\x1a" + "junk" << CrLfLines(sample);
    }

    void readThenSaveKeepsAllButTheOwnForms()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, saved);
        ScratchGameFolder game;
        BuiltPage built;
        WriteBytes(FileName, file);

        QCOMPARE(ReadInto(built.page, FileName), QString());

        QCOMPARE(WrittenFrom(built.page), saved);
    }

    // ---- Loading and saving the shown number --------------------------------

    void missingPersonalityIsAnnouncedThenCreated_data()
    {
        QTest::addColumn<QString>("folder"); // made before the load
        QTest::addColumn<QString>("failure");
        QTest::newRow("no numbered folder") << "cstrike" << "";
        QTest::newRow("empty numbered folder") << "cstrike/bot7" << "";
        QTest::newRow("no mod folder") << "" << "Invalid filename";
    }

    // The page keeps what it showed until the new personality's values are
    // set, so a folder that cannot be made leaves it unchanged.
    void missingPersonalityIsAnnouncedThenCreated()
    {
        QFETCH(QString, folder);
        QFETCH(QString, failure);
        ScratchGameFolder game;
        if (!folder.isEmpty())
            QVERIFY(QDir().mkpath(folder));
        const QString path = QDir::toNativeSeparators("cstrike/bot7/personality.txt");
        BuiltPage built;
        built.page.CurrentPersonalityNumber->SetValue(7);
        RecordingMessageSeam seam;
        bool presentWhileOpen = true;
        QStringList shownWhileOpen;
        seam.whileOpen = [&] {
            presentWhileOpen = QFileInfo::exists(path);
            shownWhileOpen = Shown(built.page);
        };

        QCOMPARE(LoadFailure(built.page), failure);

        QCOMPARE(seam.boxes, QStringList{"notice: No personality number 7 - creating a default personality"});
        QVERIFY(!presentWhileOpen);
        QCOMPARE(shownWhileOpen, StartShown());
        if (failure.isEmpty()) {
            QCOMPARE(ReadBytes(path), CrLfLines(NewPersonalityFile));
            QCOMPARE(Shown(built.page), NewPersonalityShown());
            QCOMPARE(SaveAttempt(built.page), QString("writes"));
        } else {
            QCOMPARE(Shown(built.page), StartShown());
            QVERIFY(!QFileInfo::exists("cstrike"));
        }
    }

    // ---- A save changes only the lines of the fields the user changed ------

    void saveKeepsEveryOtherLine_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("line"); // whose control the user sets; -1: none
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("saved");
        using namespace FileLine;
        const QList<QByteArray> sample = SampleLines();
        // Values the page shows in its own form: clamped, without zeros.
        const QList<QByteArray> odd =
            With(With(With(With(With(sample, Skill, "9"), CampChance, "150"), HuntChance, "050"),
                      RushChance, "-5"),
                 PreferredTeam, "3");
        const auto row = [](const char* name, const QByteArray& file, int line, const QString& value,
                            const QByteArray& saved) {
            QTest::newRow(name) << file << line << value << saved;
        };
        row("no edit, values in another form", CrLfLines(odd), -1, "", CrLfLines(odd));
        row("a value set back as it was", CrLfLines(odd), Skill, "5", CrLfLines(odd));
        row("one field, the others as written", CrLfLines(odd), ChatChance, "60",
            CrLfLines(With(odd, ChatChance, "60")));
        row("a clamped field the user changed", CrLfLines(odd), CampChance, "70",
            CrLfLines(With(odd, CampChance, "70")));
        row("two records: the one shown", CrLfLines(OtherLines()) + CrLfLines(sample), Courage,
            "5", CrLfLines(OtherLines()) + CrLfLines(With(sample, Courage, "5")));
        row("line feeds and a final blank line stay", sample.join('\n') + "\n\n", Name, "Rook",
            With(sample, Name, "Rook").join('\n') + "\n\n");
        row("a team line the record lacks", CrLfLines(sample.mid(0, 28)), PreferredTeam, "1",
            CrLfLines(With(sample, PreferredTeam, "2")));
        row("no team line added for another field", CrLfLines(sample.mid(0, 28)), Skill, "4",
            CrLfLines(With(sample, Skill, "4").mid(0, 28)));
        row("a team line added before the blank lines", sample.mid(0, 28).join('\n') + "\n\n",
            PreferredTeam, "0", sample.join('\n') + "\n\n");
        row("an empty file is written whole", "", Skill, "4",
            CrLfLines(With(NewPersonalityFile, Skill, "4")));
        // A lone CR before an emptied line that ends in an LF alone would
        // read as one line end with it, and every line after it move up.
        const QByteArray lonelyCr = CrLfLines(sample.mid(0, GrenadeUsage)) + "26\r2.5\n"
                                    + CrLfLines(sample.mid(MaxBuyTime));
        row("a lone CR before a field emptied", lonelyCr, MinBuyTime, "",
            CrLfLines(sample.mid(0, GrenadeUsage)) + "26\r\r\n" + CrLfLines(sample.mid(MaxBuyTime)));
    }

    void saveKeepsEveryOtherLine()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, line);
        QFETCH(QString, value);
        QFETCH(QByteArray, saved);
        ScratchGameFolder game;
        const QString path = QDir::toNativeSeparators("cstrike/bot1/personality.txt");
        WriteBytes(path, file);
        BuiltPage built;
        built.page.CurrentPersonalityNumber->SetValue(1);
        QCOMPARE(LoadFailure(built.page), QString());
        if (line >= 0)
            UserSets(built.page, line, value);

        QCOMPARE(SaveAttempt(built.page), QString("writes"));
        QCOMPARE(ReadBytes(path), saved);
        const QStringList shown = Shown(built.page);
        QCOMPARE(LoadFailure(built.page), QString());
        QCOMPARE(Shown(built.page), shown);
    }

    // A load that stops part-way leaves a mixture of two personalities on the
    // page; saving it would destroy the rest of the file.
    void partlyReadFileIsNotSavedOver()
    {
        ScratchGameFolder game;
        RecordingMessageSeam seam;
        const QString path = QDir::toNativeSeparators("cstrike/bot2/personality.txt");
        const QByteArray broken = CrLfLines(With(SampleLines(), FileLine::Courage, "ten"));
        WriteBytes(path, broken);
        BuiltPage built;
        built.page.CurrentPersonalityNumber->SetValue(2);

        QCOMPARE(LoadFailure(built.page), QString("'ten' is not a valid integer value"));
        built.page.Skill->SetValue(4);
        built.page.PersonalitySaveGuard.UserEdited();
        QCOMPARE(SaveAttempt(built.page), "box: " + path + " was not saved: it could not be read completely. Press F5 to load it from disk; saves go ahead once it has loaded completely");
        QCOMPARE(SaveAttempt(built.page), QString("refused"));
        QCOMPARE(ReadBytes(path), broken);

        WriteBytes(path, CrLfLines(SampleLines()));
        QCOMPARE(LoadFailure(built.page), QString());
        built.page.Courage->SetValue(99);
        built.page.PersonalitySaveGuard.UserEdited();
        QCOMPARE(SaveAttempt(built.page), QString("writes"));
        QCOMPARE(ReadBytes(path), CrLfLines(With(SampleLines(), FileLine::Courage, "99")));
        QVERIFY(seam.boxes.isEmpty());
    }
};

QTEST_MAIN(PersonalityFileTest)
#include "tst_personalityfile.moc"
