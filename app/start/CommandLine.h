#pragma once

#include <optional>
#include <string>
#include <vector>

// What the command line asks for. Read before the application object exists,
// so that --help and --version need no display. Qt's own options (-platform,
// -style, ...) are kept, in order, for the application object; everything
// else is the program's.
struct StartRequest {
    enum class Action { Start, ShowHelp, ShowVersion, ShowHistory, Refuse };

    Action action = Action::Start;
    // Empty: start in the current folder.
    std::string gameFolder;
    bool chooseFolder = false;
    // For Action::ShowHistory: the file whose versions are listed, and the
    // version whose bytes are shown instead, when asked.
    std::string historyFile;
    std::optional<int> versionToShow;
    // Why the command line was refused, for Action::Refuse.
    std::string refusal;
    // argv[0] and Qt's options with their values, for QApplication.
    std::vector<char*> qtArguments;
};

StartRequest ReadCommandLine(int argc, char** argv);

std::string UsageText();
std::string VersionText();
