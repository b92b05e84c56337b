#include "CommandLine.h"

#include <array>
#include <string_view>

namespace {

struct QtOption {
    std::string_view name;
    bool takesValue;
};

// The options QApplication and its platform plugins read; a value follows
// as the next argument or after "=", and reaches Qt as the next argument.
constexpr std::array QtOptions{
    QtOption{"platform", true},     QtOption{"platformpluginpath", true},
    QtOption{"platformtheme", true}, QtOption{"plugin", true},
    QtOption{"qwindowgeometry", true}, QtOption{"qwindowicon", true},
    QtOption{"qwindowtitle", true}, QtOption{"session", true},
    QtOption{"style", true},        QtOption{"stylesheet", true},
    QtOption{"display", true},      QtOption{"geometry", true},
    QtOption{"title", true},        QtOption{"name", true},
    QtOption{"visual", true},       QtOption{"ncols", true},
    QtOption{"cmap", true},         QtOption{"qmljsdebugger", true},
    QtOption{"reverse", false},     QtOption{"widgetcount", false},
    QtOption{"testability", false}, QtOption{"sync", false},
    QtOption{"nograb", false},      QtOption{"dograb", false},
};

// Qt accepts its options with one dash or two.
const QtOption* FindQtOption(std::string_view argument, bool& valueAttached)
{
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    const std::string_view name = argument.substr(0, argument.find('='));
    valueAttached = name.size() < argument.size();
    for (const QtOption& option : QtOptions)
        if (option.name == name)
            return &option;
    return nullptr;
}

StartRequest Refused(std::string refusal)
{
    StartRequest request;
    request.action = StartRequest::Action::Refuse;
    request.refusal = std::move(refusal);
    return request;
}

// The value of an option that takes one, after "=" or as the next argument;
// none when it is missing.
std::optional<std::string> ValueOf(std::string_view option, int argc, char** argv, int& i)
{
    const std::string_view argument = argv[i];
    if (argument.size() > option.size() && argument[option.size()] == '=')
        return std::string(argument.substr(option.size() + 1));
    if (argument.size() > option.size() || i + 1 == argc)
        return std::nullopt;
    return std::string(argv[++i]);
}

bool IsOption(std::string_view argument, std::string_view option)
{
    return argument.starts_with(option)
           && (argument.size() == option.size() || argument[option.size()] == '=');
}

std::optional<int> VersionNumber(const std::string& text)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int number = std::stoi(text);
    return number > 0 ? std::optional<int>(number) : std::nullopt;
}

// --history and --show, checked once the whole line is read.
StartRequest Checked(StartRequest request, const std::optional<std::string>& versionText)
{
    if (versionText && request.action != StartRequest::Action::ShowHistory)
        return Refused("--show needs --history FILE");
    if (versionText) {
        request.versionToShow = VersionNumber(*versionText);
        if (!request.versionToShow)
            return Refused("--show needs a version number, 1 or more, not \"" + *versionText + "\"");
    }
    if (request.action == StartRequest::Action::ShowHistory && request.chooseFolder)
        return Refused("--history lists the history without a window; --choose-folder needs one");
    return request;
}

} // namespace

StartRequest ReadCommandLine(int argc, char** argv)
{
    StartRequest request;
    request.qtArguments.push_back(argv[0]);
    bool optionsEnded = false;
    std::optional<std::string> versionText;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const bool isOption = !optionsEnded && argument.size() > 1 && argument.front() == '-';
        if (!isOption) {
            if (!request.gameFolder.empty())
                return Refused("only one game folder can be given");
            if (argument.empty())
                return Refused("the game folder's name is empty");
            request.gameFolder = argument;
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            request.action = StartRequest::Action::ShowHelp;
            return request;
        } else if (argument == "--version") {
            request.action = StartRequest::Action::ShowVersion;
            return request;
        } else if (argument == "--choose-folder") {
            request.chooseFolder = true;
        } else if (IsOption(argument, "--history")) {
            const std::optional<std::string> file = ValueOf("--history", argc, argv, i);
            if (!file || file->empty())
                return Refused("--history needs a FILE");
            request.action = StartRequest::Action::ShowHistory;
            request.historyFile = *file;
        } else if (IsOption(argument, "--show")) {
            versionText = ValueOf("--show", argc, argv, i);
            if (!versionText)
                return Refused("--show needs a version number");
        } else {
            bool valueAttached = false;
            const QtOption* option = FindQtOption(argument, valueAttached);
            if (!option)
                return Refused("unknown option " + std::string(argument));
            request.qtArguments.push_back(argv[i]);
            if (option->takesValue && valueAttached) {
                // Qt reads most of its options' values only as the next
                // argument ("-platform=offscreen" would be ignored), so the
                // value is split off in place: argv's strings are ours to change.
                char* equals = argv[i] + argument.find('=');
                *equals = '\0';
                request.qtArguments.push_back(equals + 1);
            } else if (option->takesValue) {
                if (i + 1 == argc)
                    return Refused("option " + std::string(argument) + " needs a value");
                request.qtArguments.push_back(argv[++i]);
            }
        }
    }
    return Checked(std::move(request), versionText);
}

std::string UsageText()
{
    return "Usage: tavrik-control-centre [OPTION]... [GAME-FOLDER]\n"
           "Edits the Tavrik bot's personalities, chat lists and bot.cfg of a Half-Life game.\n"
           "\n"
           "The editor starts in GAME-FOLDER, the folder that holds the mod folders\n"
           "(cstrike, valve, opfor, tfc, flf), or in the current folder when none is given;\n"
           "a current folder without any mod folder is refused, and a folder chooser shows.\n"
           "\n"
           "  --choose-folder  go to the game folder of last time or of Steam, or else\n"
           "                   choose one (with GAME-FOLDER, the chooser opens there)\n"
           "  --history FILE   list the versions of FILE that the history keeps, newest\n"
           "                   first: number, time, what made it, the change, and exit\n"
           "                   (FILE is a path from the game folder, or from anywhere:\n"
           "                   its game folder is the one above its mod folder)\n"
           "  --show N         with --history, write version N of FILE to standard output\n"
           "  -h, --help       show this help and exit\n"
           "      --version    show the version and exit\n"
           "\n"
           "Qt's own options, such as -platform or -style, are passed on to Qt.\n";
}

std::string VersionText()
{
    return "tavrik-control-centre " TAVRIK_VERSION "\n";
}
