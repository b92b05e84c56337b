#include "BenchGame.h"
#include "ChatTypes.h"
#include "EditorTriggers.h"
#include "FloorCalls.h"
#include "GameFolder.h"
#include "ModFolders.h"
#include "ProgramStart.h"
#include "RatioReporter.h"
#include "SaveSteps.h"
#include "StartupRuns.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>

// Times the editor's triggers at 10, 100 and 1000 personalities beside the
// system calls they cannot do without, and the editor's start beside a bare
// Qt window; prints each as a ratio at the end. Run it with scripts/bench.

namespace {

const QString Mod = QStringLiteral("cstrike");
constexpr int Sizes[] = {10, 100, 1000};
constexpr int Passes = 3;
// The floor's mean time per round, in ms, beside each trigger's own.
const char* const FloorCounter = "floor_ms";
// For the Personality page, the same with the type check of every file read.
const char* const TypeCheckingFloorCounter = "floor_fstat_ms";
// The history's recording of the trigger's versions, after its handler.
const char* const HistoryCounter = "history_ms";
// A real change's save steps (SaveSteps.h), by the index of their SaveStep.
constexpr std::array<const char*, SaveStepCount> StepCounters{"read_ms", "merge_ms", "form_ms",
                                                              "write_ms", "records_ms"};

std::string Named(const std::string& what, int personalities)
{
    return what + "/" + std::to_string(personalities);
}

QByteArray InGame(const BenchGame& game, const QString& path)
{
    return QFile::encodeName(game.Path() + QLatin1Char('/') + path);
}

// One trigger of the editor and its floor, the floor writing a file of its
// own beside the trigger's, with as many bytes.
struct TriggerCase {
    QString file;
    std::function<void()> trigger;
    std::function<void()> change;
    std::function<void(Sync)> floor;
    // Where reading needs a type check, the floor with it; may be empty.
    std::function<void(Sync)> floorCheckingTypes;
};

double SecondsBetween(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// Whether the trigger wrote exactly when something changed and showed no
// box: a change the editor does not take for an edit of the user's would
// time a trigger that writes nothing. last holds the file's bytes before
// the trigger, and after it once checked.
bool TriggerBehaved(const EditorTriggers& editor, const TriggerCase& timed, bool changed,
                    QByteArray& last)
{
    QByteArray now = ReadBytes(timed.file);
    const bool wrote = now != last;
    last = std::move(now);
    return wrote == changed && editor.Failure().isEmpty();
}

// The trigger and its floor in turns, each timed on its own, so that the
// machine's load and the disk's moods fall on both alike. With a change, it
// runs untimed before each trigger. An untimed first round warms the editor
// up; every round checks the trigger (TriggerBehaved) after its timing.
void TimeAgainstFloor(benchmark::State& state, EditorTriggers& editor, const BenchGame& game,
                      const TriggerCase& timed, bool changed)
{
    editor.Enter(game);
    QByteArray last = ReadBytes(timed.file);
    if (changed)
        timed.change();
    timed.trigger();
    if (!TriggerBehaved(editor, timed, changed, last)) {
        state.SkipWithError(qPrintable("the trigger did not behave: " + editor.Failure()));
        return;
    }
    const Sync sync = changed ? Sync::Yes : Sync::No;
    double floorSeconds = 0;
    double typeCheckingSeconds = 0;
    double historySeconds = 0;
    SaveStepTimes steps{};
    for (auto _ : state) {
        if (changed)
            timed.change();
        TimeSaveSteps(changed ? &steps : nullptr);
        const auto start = std::chrono::steady_clock::now();
        timed.trigger();
        const auto triggered = std::chrono::steady_clock::now();
        TimeSaveSteps(nullptr);
        timed.floor(sync);
        const auto floored = std::chrono::steady_clock::now();
        if (timed.floorCheckingTypes)
            timed.floorCheckingTypes(sync);
        const auto typeChecked = std::chrono::steady_clock::now();
        editor.RecordHistory();
        floorSeconds += SecondsBetween(triggered, floored);
        typeCheckingSeconds += SecondsBetween(floored, typeChecked);
        historySeconds += SecondsBetween(typeChecked, std::chrono::steady_clock::now());
        state.SetIterationTime(SecondsBetween(start, triggered));
        if (!TriggerBehaved(editor, timed, changed, last)) {
            state.SkipWithError(qPrintable("a timed trigger did not behave: " + editor.Failure()));
            break;
        }
    }
    state.counters[FloorCounter] = benchmark::Counter(floorSeconds * 1e3, benchmark::Counter::kAvgIterations);
    state.counters[HistoryCounter] = benchmark::Counter(historySeconds * 1e3, benchmark::Counter::kAvgIterations);
    for (std::size_t step = 0; changed && step < SaveStepCount; ++step)
        state.counters[StepCounters[step]] = benchmark::Counter(double(steps[step]) / 1e6, benchmark::Counter::kAvgIterations);
    if (timed.floorCheckingTypes)
        state.counters[TypeCheckingFloorCounter] =
            benchmark::Counter(typeCheckingSeconds * 1e3, benchmark::Counter::kAvgIterations);
}

// A benchmark whose failure shows as its error instead of ending the run.
benchmark::internal::Benchmark* RegisterReporting(const std::string& name,
                                                  std::function<void(benchmark::State&)> body)
{
    return benchmark::RegisterBenchmark(name.c_str(),
                                        [body](benchmark::State& state) {
                                            try {
                                                body(state);
                                            } catch (const std::exception& failure) {
                                                state.SkipWithError(failure.what());
                                            }
                                        })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
}

void RegisterTrigger(const std::string& name, EditorTriggers& editor, const BenchGame& game,
                     const TriggerCase& timed)
{
    for (const bool changed : {false, true}) {
        RegisterReporting(Named(name + (changed ? "_changed" : "_unchanged"), game.Personalities()),
                          [&editor, &game, timed, changed](benchmark::State& state) {
                              TimeAgainstFloor(state, editor, game, timed, changed);
                          });
    }
}

// The floor's own file beside the trigger's, written with the trigger's bytes.
std::function<void(Sync)> WriteBeside(const BenchGame& game, const QString& file)
{
    const QByteArray target = InGame(game, file + QStringLiteral(".floor"));
    const QByteArray bytes = ReadBytes(game.Path() + '/' + file);
    return [target, bytes](Sync sync) { WriteByRename(target, bytes, sync); };
}

void RegisterSizeBenchmarks(EditorTriggers& editor, const BenchGame& game)
{
    const QString personality = PersonalityFilePath(Mod, 1);
    const QString botConfig = BotConfigPath(Mod);
    const QString chat = ChatListPath(Mod, 0);

    std::vector<QByteArray> roster;
    for (int number = 1; number <= game.Personalities(); ++number)
        roster.push_back(InGame(game, PersonalityFilePath(Mod, number)));
    const auto writePersonality = WriteBeside(game, personality);
    const QByteArray botConfigPath = InGame(game, botConfig);
    auto personalityFloor = [writePersonality, roster, botConfigPath](auto read) {
        return [writePersonality, roster, botConfigPath, read](Sync sync) {
            writePersonality(sync);
            for (const QByteArray& path : roster)
                read(path);
            read(botConfigPath);
        };
    };
    RegisterTrigger("personality", editor, game,
                    {personality, [&editor] { editor.MoveOverPersonalityPage(); },
                     [&editor] { editor.ChangePersonality(); }, personalityFloor(ReadStart),
                     personalityFloor(ReadStartOfRegularFile)});
    RegisterTrigger("botcfg", editor, game,
                    {botConfig, [&editor] { editor.MoveOverBotConfigPage(); },
                     [&editor] { editor.ChangeBotConfig(); }, WriteBeside(game, botConfig), {}});
    RegisterTrigger("chat", editor, game,
                    {chat, [&editor] { editor.ReleaseKeyInChat(); }, [&editor] { editor.ChangeChat(); },
                     WriteBeside(game, chat), {}});
}

void RegisterStartup(const char* name, const BenchGame& game)
{
    const QString program = QStringLiteral(TAVRIK_BENCH_DIR "/") + QLatin1String(name);
    RegisterReporting(name, [program, &game](benchmark::State& state) {
        game.Enter();
        double peak = 0;
        for (auto _ : state) {
            const StartupRun run = RunToExit(program);
            state.SetIterationTime(run.seconds);
            peak = std::max(peak, run.peakKibibytes);
        }
        state.counters["peak_KiB"] = peak;
    });
}

std::string Milliseconds(double time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", time);
    return text;
}

void PrintRatio(const std::string& what, double time, double floorTime, const char* unit = "ms ",
                int decimals = 3)
{
    if (floorTime <= 0 || time <= 0) {
        std::printf("%-46s (not run)\n", what.c_str());
        return;
    }
    std::printf("%-46s %9.*f %s %9.*f %s %6.2f\n", what.c_str(), decimals, time, unit, decimals, floorTime,
                unit, time / floorTime);
}

// Where a real change's time goes: its save's steps, the rest of the trigger
// (the handler, the page's signs, what follows the save), and the history's
// recording after the handler, which is not part of the trigger's time.
void PrintSteps(const RatioReporter& results, const std::string& name)
{
    constexpr std::array<const char*, SaveStepCount> captions{"read+compare", "merge", "form",
                                                              "write+fsync", "records"};
    std::string line = " ";
    double rest = results.MedianTime(name);
    for (std::size_t step = 0; step < SaveStepCount; ++step) {
        const double time = results.MedianCounter(name, StepCounters[step]);
        rest -= time;
        line += " " + std::string(captions[step]) + " " + Milliseconds(time);
    }
    line += " rest " + Milliseconds(rest) + "; history " + Milliseconds(results.MedianCounter(name, HistoryCounter));
    std::printf("%s\n", line.c_str());
}

// Each trigger's benchmarks by the stem of their names.
struct TriggerNames {
    const char* caption;
    const char* name;
};
constexpr TriggerNames Triggers[] = {
    {"personality move", "personality"},
    {"bot.cfg move", "botcfg"},
    {"chat key release", "chat"},
};

void PrintRatios(const RatioReporter& results)
{
    std::printf("\n%-46s %12s  %12s  %6s\n", "median time against its floor", "editor", "floor", "ratio");
    for (int size : Sizes) {
        for (const TriggerNames& trigger : Triggers) {
            const std::string at = " at " + std::to_string(size);
            for (const bool changed : {false, true}) {
                const std::string name =
                    Named(std::string(trigger.name) + (changed ? "_changed" : "_unchanged"), size);
                const std::string caption =
                    trigger.caption + std::string(changed ? ", a real change" : ", nothing changed") + at;
                PrintRatio(caption, results.MedianTime(name), results.MedianCounter(name, FloorCounter));
                const double typeChecking = results.MedianCounter(name, TypeCheckingFloorCounter);
                if (typeChecking > 0)
                    PrintRatio("  the same, the floor fstat-ing each file", results.MedianTime(name), typeChecking);
                if (changed && results.MedianTime(name) > 0)
                    PrintSteps(results, name);
            }
        }
    }
    PrintRatio("start-up to the first paint", results.MedianTime("startup_editor"),
               results.MedianTime("startup_label"));
    PrintRatio("peak memory at start-up", results.LargestCounter("startup_editor", "peak_KiB"),
               results.LargestCounter("startup_label", "peak_KiB"), "KiB", 0);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication application(argc, argv);
    PrepareApplication();

    std::vector<std::unique_ptr<BenchGame>> games;
    for (int size : Sizes)
        games.push_back(std::make_unique<BenchGame>(size));
    games.front()->Enter();
    EditorTriggers editor;
    for (const auto& game : games)
        RegisterSizeBenchmarks(editor, *game);
    RegisterStartup("startup_editor", *games.front());
    RegisterStartup("startup_label", *games.front());

    // Whole passes one after the other spread a busy machine's load over the
    // trigger and its floor alike; each figure is the median of its passes.
    RatioReporter results;
    for (int pass = 0; pass < Passes; ++pass)
        benchmark::RunSpecifiedBenchmarks(&results);
    benchmark::Shutdown();
    PrintRatios(results);
    return 0;
}
