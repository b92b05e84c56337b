#include "SessionEnd.h"

#include "MessageSeam.h"
#include "PendingEdits.h"
#include "main.h"
#include "SignalBridge.h"

#include <QGuiApplication>

#include <csignal>
#include <iostream>

// The desktop session ends (its commit-data request; SIGTERM at logout and
// shutdown), the terminal goes (SIGHUP) or the user presses Ctrl+C (SIGINT):
// every pending edit is saved as closing the window saves it. Nobody is
// there to answer a box, so none is shown: what could not be saved is said
// on standard error, with its file.

namespace {

// What a box would say goes to standard error, and every question gets its
// careful answer: nothing is lost that a later start could still save.
class UnattendedMessageSeam : public MessageSeam {
public:
    void ErrorBox(const QString&, const QString& text) override { Say(text); }
    void NoticeBox(const QString&, const QString& text) override { Say(text); }
    bool QuestionBox(const QString&, const QString&, const QString&, const QString&) override
    {
        return false;
    }
    bool ConfirmBox(const QString&, const QString&, const QString&, const QString&) override
    {
        return false;
    }
    int ChoiceBox(const QString&, const QString& text, const QString&, const QString&,
                  const QString&) override
    {
        Say(text);
        return 2;
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

// Every page is saved as closing saves it, but none stops the others: an
// edit that meets another program's change stays unsaved, as deciding later
// would leave it, and the session ends all the same.
void TMainForm::SaveAtSessionEnd()
{
    UnattendedMessageSeam seam;
    const ScopedMessageSeam unattended(seam);
    for (PageSlot& page : pages_)
        SettlePendingEdit(page, true);
    for (const PageSlot& page : pages_) {
        if (page.guard->HasUserEdits())
            seam.Say(QStringLiteral("the changes on the page \"%1\" were not saved into %2")
                         .arg(page.caption, page.guard->SaveTarget()));
    }
}

// One bridge for the program's life, leading to the main window of the
// moment: a window left for another game folder, destroyed at the next one,
// would otherwise take the signals' handlers with it.
void InstallSessionEnd()
{
    static bool wired = false;
    if (wired)
        return;
    wired = true;
    auto* bridge = new SignalBridge({SIGTERM, SIGHUP, SIGINT}, qGuiApp);
    bridge->OnSignal = [](int signalNumber) {
        if (MainForm)
            MainForm->SaveAtSessionEnd();
        EndAsSignalled(signalNumber);
    };
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, bridge, [] {
        if (MainForm)
            MainForm->SaveAtSessionEnd();
    });
}
