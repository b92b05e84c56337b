#include "SessionEnd.h"

#include "MessageSeam.h"
#include "PendingEdits.h"
#include "main.h"
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
    // The question would go unanswered; what its careful answer keeps is
    // said once every page is saved.
    int ChoiceBox(const QString&, const QString&, const QString&, const QString&,
                  const QString&) override
    {
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
    std::array<EditFate, std::tuple_size_v<PageTable>> fates{};
    for (std::size_t row = 0; row < pages_.size(); ++row)
        fates[row] = SettlePendingEdit(pages_[row], true);
    for (std::size_t row = 0; row < pages_.size(); ++row) {
        const PageSlot& page = pages_[row];
        if (!page.guard->HasUserEdits())
            continue;
        const QString path = page.guard->SaveTarget();
        if (fates[row] == EditFate::Kept)
            seam.Say(QStringLiteral("%1 was changed by another program after the page read it, "
                                    "and that change was kept: the changes on the page \"%2\" "
                                    "were not saved into it")
                         .arg(path, page.caption));
        else
            seam.Say(QStringLiteral("the changes on the page \"%1\" were not saved into %2")
                         .arg(page.caption, path));
    }
    // The program ends by the signal next, without returning to the loop.
    RecordWaitingHistory();
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
