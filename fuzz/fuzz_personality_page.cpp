// Loads any bytes as personality 1 of Counter-Strike into the personality
// page and saves it again (see CheckLoadAndSave).

#include "BoundedIntegerField.h"
#include "CheckBoxControl.h"
#include "DropDownSelector.h"
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
    CheckLoadAndSave({PersonalityFilePath(ModFolder, page.CurrentPersonalityNumber->Value()),
                      [&] { LoadShownPersonality(page, ModFolder); },
                      [&] { SaveShownPersonality(page, ModFolder); },
                      [&] { return PageShows(page); }},
                     QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
