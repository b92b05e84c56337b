// Loads any bytes as personality 1 of Counter-Strike into the personality
// page, saves it without an edit and with one edit of a field chosen by the
// input (see CheckLoadAndSave). The edit's save changes that field's line of
// the last record alone, or adds the team line a record lacks; a file
// without values is written whole.

#include "BoundedIntegerField.h"
#include "CheckBoxControl.h"
#include "DropDownSelector.h"
#include "FuzzCheck.h"
#include "ModFolders.h"
#include "PageFuzzing.h"
#include "PersonalityFile.h"
#include "PersonalityPage.h"
#include "PersonalityStore.h"
#include "TextField.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <variant>

namespace {

const QString ModFolder = QStringLiteral("cstrike");
// The fields by their lines; the team line follows them.
constexpr int TeamLine = PersonalityFieldCount;

QString ControlShows(const TextField& field) { return field.Text(); }
QString ControlShows(const BoundedIntegerField& field) { return field.text(); }
QString ControlShows(const CheckBoxControl& box)
{
    return box.Checked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
}

QString PageShows(const PersonalityPage& page)
{
    QStringList shown;
    for (const PersonalityField& field : Personality)
        std::visit([&](auto control) { shown << ControlShows(*(page.*control)); }, field);
    shown << QString::number(page.PreferredTeamComboBox->SelectedIndex())
          << page.PreferredTeamComboBox->Text();
    return shown.join(QLatin1Char('|'));
}

// Each edit gives the control a value it does not show, within its bounds;
// a text that begins with "x" is emptied, as a user may empty a field.
void Edit(TextField& field)
{
    const QString text = field.Text();
    field.SetText(text.startsWith(QLatin1Char('x')) ? QString() : QStringLiteral("x") + text.mid(1));
}

void Edit(BoundedIntegerField& field)
{
    if (field.MinValue() == field.MaxValue())
        field.SetValue(field.Value() == 0 ? 1 : 0);
    else
        field.SetValue(field.Value() == field.MinValue() ? field.MaxValue() : field.MinValue());
}

void Edit(CheckBoxControl& box)
{
    box.SetChecked(!box.Checked());
}

// From any team, none included, to the next of the three the user picks from.
void EditTeam(DropDownSelector& team)
{
    team.SetSelectedIndex((team.SelectedIndex() + 1) % 3);
}

void EditLine(PersonalityPage& page, int line)
{
    if (line == TeamLine)
        EditTeam(*page.PreferredTeamComboBox);
    else
        std::visit([&](auto control) { Edit(*(page.*control)); }, Personality[line]);
    page.PersonalitySaveGuard.UserEdited();
}

bool HoldsOnlyBlanks(const FileLines& file)
{
    for (const FileLine& line : file.lines) {
        for (const char byte : line.text) {
            if (byte != ' ' && byte != '\t')
                return false;
        }
    }
    return true;
}

// A line put in place of one keeps its line end; only an emptied line that
// ends in an LF alone after a lone CR ends in CR LF, the style of a file
// with a CR, lest the two read as one line end.
bool SameLineEnd(const QList<FileLine>& before, const QList<FileLine>& after, qsizetype line)
{
    if (line > 0 && after[line - 1].end == "\r" && after[line].text.isEmpty()
        && before[line].end == "\n")
        return after[line].end == "\r\n";
    return before[line].end == after[line].end;
}

// The saved file is the input with one line put in place of one, keeping its
// line end, or, where the page may add a line, with one line added; adding
// it after a last line without a line end ends that line first.
bool OneLineChanged(const FileLines& input, const FileLines& saved, bool mayAdd)
{
    const QList<FileLine>& before = input.lines;
    const QList<FileLine>& after = saved.lines;
    qsizetype same = 0;
    while (same < before.size() && same < after.size() && before[same] == after[same])
        ++same;
    qsizetype sameAtEnd = 0;
    while (sameAtEnd < before.size() - same && sameAtEnd < after.size() - same
           && before[before.size() - 1 - sameAtEnd] == after[after.size() - 1 - sameAtEnd])
        ++sameAtEnd;
    const qsizetype removed = before.size() - same - sameAtEnd;
    const qsizetype added = after.size() - same - sameAtEnd;
    const bool replaced = removed == 1 && added == 1 && SameLineEnd(before, after, same);
    const bool inserted = removed == 0 && added == 1;
    const bool appended = removed == 1 && added == 2 && sameAtEnd == 0
                          && before[same].end.isEmpty() && after[same].text == before[same].text;
    return input.afterEnd == saved.afterEnd && (replaced || (mayAdd && (inserted || appended)));
}

void CheckKept(const FileLines& input, const FileLines& saved, int editedLine)
{
    if (HoldsOnlyBlanks(input)) {
        Require(saved.lines.size() == PersonalityFieldCount + 1
                    && WrittenWholeInTheInputsStyle(input, saved),
                "a file without values is written whole, in the line ends it had");
        return;
    }
    Require(OneLineChanged(input, saved, editedLine == TeamLine),
            "an edit of one field changes its line alone, or adds the team line",
            QStringLiteral("field line %1").arg(editedLine + 1));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argumentCount, char*** arguments)
{
    StartPageFuzzing(*argumentCount, *arguments);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto& page = BuiltPage<PersonalityPage, BuildPersonalityPage>();
    // Every input starts from the same page, whatever the last one left.
    SetDefaultPersonality(page);
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const int editedLine = EditChosenBy(input, TeamLine + 1);
    CheckLoadAndSave({PersonalityFilePath(ModFolder, page.CurrentPersonalityNumber->Value()),
                      &page.PersonalitySaveGuard,
                      [&] { LoadShownPersonality(page, ModFolder); },
                      [&] { SaveShownPersonality(page, ModFolder); },
                      [&] { return PageShows(page); },
                      [&] { EditLine(page, editedLine); },
                      [&](const FileLines& before, const FileLines& saved) {
                          CheckKept(before, saved, editedLine);
                      }},
                     input);
    return 0;
}
