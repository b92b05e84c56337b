#include "main.h"

#include "MessageSeam.h"
#include "SignalBridge.h"

#include <QGuiApplication>

#include <array>
#include <csignal>
#include <iostream>

// The desktop session ends (its commit-data request; SIGTERM at logout and
// shutdown), the terminal goes (SIGHUP) or the user presses Ctrl+C (SIGINT):
// every pending edit is saved as closing the window saves it. Nobody is
// there to answer a box, so none is shown: what could not be saved is said
// on standard error, with its file.

namespace {

// What a box would say goes to standard error. Closing asks one question,
// whether to close without an edit that could not be saved: the session
// ends either way, and "Close Anyway" lets the other pages' edits be saved.
class UnattendedMessageSeam : public MessageSeam {
public:
    void ErrorBox(const QString&, const QString& text) override { Say(text); }
    void NoticeBox(const QString&, const QString& text) override { Say(text); }
    bool QuestionBox(const QString&, const QString&, const QString&, const QString&) override
    {
        return true;
    }
    bool ConfirmBox(const QString&, const QString&, const QString&, const QString&) override
    {
        return false;
    }

    static void Say(const QString& text)
    {
        std::cerr << "tavrik-control-centre: " << text.toLocal8Bit().constData() << "\n";
    }
};

// Ends the program as the signal would have without the bridge.
void EndAsSignalled(int signalNumber)
{
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

} // namespace

void TMainForm::SaveAtSessionEnd()
{
    UnattendedMessageSeam seam;
    const ScopedMessageSeam unattended(seam);
    MayClose();
    const std::array<std::pair<const SaveGuard*, const char*>, 3> pages{{
        {&BotConfigSaveGuard, "Bot.cfg Editor"},
        {&ChatSaveGuard, "Chat Editor"},
        {&PersonalitySaveGuard, "Personality Editor"},
    }};
    for (const auto& [guard, caption] : pages) {
        if (guard->HasUserEdits())
            seam.Say(QStringLiteral("the changes on the page \"%1\" were not saved into %2")
                         .arg(QLatin1String(caption), guard->SaveTarget()));
    }
}

void TMainForm::WireSessionEnd()
{
    auto* bridge = new SignalBridge({SIGTERM, SIGHUP, SIGINT}, this);
    bridge->OnSignal = [this](int signalNumber) {
        SaveAtSessionEnd();
        EndAsSignalled(signalNumber);
    };
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this] { SaveAtSessionEnd(); });
}
