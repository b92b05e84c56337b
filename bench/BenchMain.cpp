#include "BenchGame.h"
#include "ChatTypes.h"
#include "EditorTriggers.h"
#include "FloorCalls.h"
#include "GameFolder.h"
#include "ModFolders.h"
#include "ProgramStart.h"
#include "RatioReporter.h"
#include "StartupRuns.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

// Times the editor's triggers at 10, 100 and 1000 personalities beside the
// system calls they cannot do without, and the editor's start beside a bare
// Qt window; prints each as a ratio at the end. Run it with scripts/bench.

namespace {

const QString Mod = QStringLiteral("cstrike");
constexpr int Sizes[] = {10, 100, 1000};

std::string Named(const std::string& what, int personalities)
{
    return what + "/" + std::to_string(personalities);
}

QByteArray InGame(const BenchGame& game, const QString& path)
{
    return QFile::encodeName(game.Path() + QLatin1Char('/') + path);
}

// A trigger timed repeatedly; `change` runs untimed before each one, and the
// first round checks that the trigger writes exactly when something changed.
void TimeTrigger(benchmark::State& state, EditorTriggers& editor, const BenchGame& game,
                 const QString& file, const std::function<void()>& change,
                 const std::function<void()>& trigger)
{
    editor.Enter(game);
    const QByteArray before = ReadBytes(file);
    if (change)
        change();
    trigger();
    if ((ReadBytes(file) != before) != bool(change) || !editor.Failure().isEmpty()) {
        state.SkipWithError(qPrintable("the trigger did not behave: " + editor.Failure()));
        return;
    }
    for (auto _ : state) {
        if (change) {
            state.PauseTiming();
            change();
            state.ResumeTiming();
        }
        trigger();
    }
}

void RegisterTrigger(const char* name, EditorTriggers& editor, const BenchGame& game,
                     const QString& file, std::function<void()> change, std::function<void()> trigger)
{
    benchmark::RegisterBenchmark(Named(name, game.Personalities()).c_str(),
                                 [&editor, &game, file, change, trigger](benchmark::State& state) {
                                     TimeTrigger(state, editor, game, file, change, trigger);
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

void RegisterFloor(const char* name, int personalities, std::function<void()> calls)
{
    benchmark::RegisterBenchmark(Named(name, personalities).c_str(),
                                 [calls](benchmark::State& state) {
                                     for (auto _ : state)
                                         calls();
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

void RegisterSizeBenchmarks(EditorTriggers& editor, const BenchGame& game)
{
    const QString personality = PersonalityFilePath(Mod, 1);
    const QString botConfig = BotConfigPath(Mod);
    const QString chat = ChatListPath(Mod, 0);
    auto move = [&editor] { editor.MoveOverPersonalityPage(); };
    RegisterTrigger("personality_unchanged", editor, game, personality, {}, move);
    RegisterTrigger("personality_changed", editor, game, personality,
                    [&editor] { editor.ChangePersonality(); }, move);
    auto moveBotConfig = [&editor] { editor.MoveOverBotConfigPage(); };
    RegisterTrigger("botcfg_unchanged", editor, game, botConfig, {}, moveBotConfig);
    RegisterTrigger("botcfg_changed", editor, game, botConfig,
                    [&editor] { editor.ChangeBotConfig(); }, moveBotConfig);
    auto release = [&editor] { editor.ReleaseKeyInChat(); };
    RegisterTrigger("chat_unchanged", editor, game, chat, {}, release);
    RegisterTrigger("chat_changed", editor, game, chat, [&editor] { editor.ChangeChat(); }, release);

    auto floor = std::make_shared<PersonalityFloor>();
    floor->personalityPath = InGame(game, personality);
    floor->personalityBytes = ReadBytes(game.Path() + '/' + personality);
    for (int number = 1; number <= game.Personalities(); ++number)
        floor->rosterPaths.push_back(InGame(game, PersonalityFilePath(Mod, number)));
    floor->botConfigPath = InGame(game, botConfig);
    RegisterFloor("floor_personality_nofsync", game.Personalities(), [floor] { floor->Run(Sync::No); });
    RegisterFloor("floor_personality_fsync", game.Personalities(), [floor] { floor->Run(Sync::Yes); });
    for (const auto& [name, path] : {std::pair{"floor_botcfg", botConfig}, std::pair{"floor_chat", chat}}) {
        const QByteArray target = InGame(game, path);
        const QByteArray bytes = ReadBytes(game.Path() + '/' + path);
        RegisterFloor((std::string(name) + "_nofsync").c_str(), game.Personalities(),
                      [target, bytes] { WriteByRename(target, bytes, Sync::No); });
        RegisterFloor((std::string(name) + "_fsync").c_str(), game.Personalities(),
                      [target, bytes] { WriteByRename(target, bytes, Sync::Yes); });
    }
}

void RegisterStartup(const char* name, const BenchGame& game)
{
    const QString program = QStringLiteral(TAVRIK_BENCH_DIR "/") + QLatin1String(name);
    benchmark::RegisterBenchmark(name, [program, &game](benchmark::State& state) {
        game.Enter();
        double peak = 0;
        for (auto _ : state) {
            const StartupRun run = RunToExit(program);
            state.SetIterationTime(run.seconds);
            peak = std::max(peak, run.peakKibibytes);
        }
        state.counters["peak_KiB"] = peak;
    })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
}

void PrintRatio(const RatioReporter& results, const std::string& what, const std::string& measured,
                const std::string& floor)
{
    const double floorTime = results.MedianTime(floor);
    const double time = results.MedianTime(measured);
    if (floorTime <= 0 || time <= 0) {
        std::printf("%-46s (not run)\n", what.c_str());
        return;
    }
    std::printf("%-46s %9.3f ms  %9.3f ms  %6.2f\n", what.c_str(), time, floorTime, time / floorTime);
}

// Each trigger's benchmarks and its floor's, by the stem of their names.
struct TriggerNames {
    const char* caption;
    const char* trigger;
    const char* floor;
};
constexpr TriggerNames Triggers[] = {
    {"personality move", "personality", "floor_personality"},
    {"bot.cfg move", "botcfg", "floor_botcfg"},
    {"chat key release", "chat", "floor_chat"},
};

void PrintRatios(const RatioReporter& results)
{
    std::printf("\n%-46s %12s  %12s  %6s\n", "median time against its floor", "editor", "floor", "ratio");
    for (int size : Sizes) {
        for (const TriggerNames& names : Triggers) {
            const std::string trigger = names.trigger;
            const std::string floor = names.floor;
            const std::string caption = names.caption;
            const std::string at = " at " + std::to_string(size);
            PrintRatio(results, caption + ", nothing changed" + at, Named(trigger + "_unchanged", size),
                       Named(floor + "_nofsync", size));
            PrintRatio(results, caption + ", a real change" + at, Named(trigger + "_changed", size),
                       Named(floor + "_fsync", size));
        }
    }
    PrintRatio(results, "start-up to the first paint", "startup_editor", "startup_label");
    const double editorPeak = results.LargestCounter("startup_editor", "peak_KiB");
    const double labelPeak = results.LargestCounter("startup_label", "peak_KiB");
    if (labelPeak > 0)
        std::printf("%-46s %9.0f KiB %9.0f KiB %6.2f\n", "peak memory at start-up", editorPeak, labelPeak,
                    editorPeak / labelPeak);
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

    RatioReporter results;
    benchmark::RunSpecifiedBenchmarks(&results);
    benchmark::Shutdown();
    PrintRatios(results);
    return 0;
}
