#pragma once

#include "Failures.h"
#include "GameFolder.h"
#include "RunningProgram.h"

#include <memory>
#include <utility>

// One test case's program, started in a game folder of its own; Stop ends
// both. Only tests that link the program's window modules use it.
struct ProgramSession {
    std::unique_ptr<ScratchGameFolder> game;
    std::unique_ptr<RunningProgram> program;
    RecordingMessageSeam* seam = nullptr;
    TMainForm* form = nullptr;

    // Starts the program in the game folder already set up.
    void Start()
    {
        program = std::make_unique<RunningProgram>();
        seam = &program->seam;
        form = &program->form;
    }

    void StartInSampleGame()
    {
        game = ScratchGameFolder::WithSampleMods();
        Start();
    }

    void Stop()
    {
        program.reset();
        game.reset();
        seam = nullptr;
        form = nullptr;
    }

    // As the event loop runs a trigger: a failure ends in the error box.
    template <typename Step>
    static void Guarded(Step&& step)
    {
        RunHandler(std::forward<Step>(step));
    }
};
