// Apply in the real kelvane.exe, from the click to the last write on disk, with all five options changed, on a
// player's config.wtf and on one of 100 thousand settings, beside one CopyFileW of the same file; how often one
// Apply puts config.wtf in place; the texture Apply a moment after its tick beside a synchronize Apply; and the
// four game-file options' work in this process.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/resources/resource.h"
#include "bench/bench_support.h"
#include "common/unique_handle.h"
#include "config/config_edit_batch.h"
#include "config/running_game.h"
#include "config/sync_settings.h"
#include "tweaks/texture_cache.h"

namespace {

using namespace kelvane::bench;

constexpr int kProgramExitOnClose = 1;
constexpr double kGoalCopies = 10.0;
constexpr double kGoalPauseRatio = 1.5;
constexpr DWORD kPlayerPauseMs = 600;   // from the tick to the Apply click, as a player takes
constexpr int kPauseRuns = 5;           // fresh programs, each one texture and one synchronize Apply
constexpr int kPlacementGoal = 1;
constexpr char kTextureSetting[] = "textureCacheSize";
constexpr char kSyncDisabled[] = "\"0\"";

struct Size {
    int settings;
    int runs;            // counted Applies after the first one (which also takes the backup), half on, half off
    int copies;
    int runsPerOption;   // Applies of each option alone, half on, half off; 0 for none
};
constexpr Size kSizes[] = {{300, 20, 21, 10}, {100000, 8, 11, 0}};
constexpr int kVideoMemoryQueries = 10;
constexpr int kFourOptionWrites = 21;
constexpr int kGameChecks = 101;

// The options in the order Apply writes them; `setting` is the config.wtf setting, none for the registry.
struct Option {
    int id;
    const char* setting;
    const char* label;
};
constexpr Option kOptions[] = {{IDC_NETWORK_LATENCY, nullptr, "network"},
                               {IDC_TEXTURE_CACHE, kTextureSetting, "texture"},
                               {IDC_SYNC_BINDINGS, "synchronizeBindings", "bindings"},
                               {IDC_SYNC_CONFIG, "synchronizeConfig", "configs"},
                               {IDC_SYNC_MACROS, "synchronizeMacros", "macros"}};

// What the program's state on disk should be: the player's file, then the settings the options appended, in the
// order they were appended (a setting that is switched off is removed, one switched on goes to the end).
class Expectation {
public:
    explicit Expectation(std::string original) : original_(std::move(original)) {}

    const std::string& original() const { return original_; }
    bool networkOn() const { return networkOn_; }

    // One Apply that flips the options in `flipped` (in the order Apply writes them).
    void Apply(const std::vector<const Option*>& flipped)
    {
        for (const Option* option : flipped) {
            if (!option->setting) {
                networkOn_ = !networkOn_;
                continue;
            }
            const auto found = std::find(appended_.begin(), appended_.end(), option->setting);
            if (found == appended_.end())
                appended_.push_back(option->setting);
            else
                appended_.erase(found);
        }
    }

    // Whether `actual` is the expected file; the texture value is the program's own figure, any decimal number.
    bool Matches(const std::string& actual) const
    {
        std::string textureValue;
        if (std::find(appended_.begin(), appended_.end(), kTextureSetting) != appended_.end()) {
            const std::string start = std::string("SET ") + kTextureSetting + " \"";
            const std::size_t at = actual.find(start, original_.size());
            if (at == std::string::npos)
                return false;
            const std::size_t digits = at + start.size();
            const std::size_t end = actual.find('"', digits);
            if (end == std::string::npos || end == digits ||
                actual.find_first_not_of("0123456789", digits) != end)
                return false;
            textureValue = actual.substr(digits - 1, end - digits + 2);
        }
        std::string expected = original_;
        for (const std::string& setting : appended_)
            expected += "SET " + setting + " " + (setting == kTextureSetting ? textureValue : kSyncDisabled) + "\r\n";
        return actual == expected;
    }

private:
    std::string original_;
    std::vector<std::string> appended_;
    bool networkOn_ = false;
};

class Benchmark {
public:
    Benchmark(StartedProgram& program, const GameFolder& game, const NetworkInterfaces& interfaces,
              const std::string& original)
        : program_(program), game_(game), interfaces_(interfaces), expected_(original)
    {
    }

    // Ticks or unticks the given options, then times the Apply click; checks the disk right after it returns.
    double TimedApply(const std::vector<const Option*>& flipped, const char* what)
    {
        for (const Option* option : flipped)
            SendMessageW(program_.item(option->id), BM_CLICK, 0, 0);
        program_.Settle();
        const Stopwatch watch;
        // The button notifies the dialog with a sent WM_COMMAND, so this returns only when OnApply has returned.
        SendMessageW(program_.item(IDC_APPLY), BM_CLICK, 0, 0);
        const double elapsed = watch.Milliseconds();
        expected_.Apply(flipped);
        ++applies_;
        const bool fileDone = expected_.Matches(ReadBytes(game_.configPath()));
        const bool registryDone = interfaces_.AllAre(expected_.networkOn());
        if (fileDone && registryDone) {
            ++verified_;
        } else {
            std::printf("  %s: when SendMessageW returned,%s%s\n", what, fileDone ? "" : " config.wtf was not written",
                        registryDone ? "" : " TcpAckFrequency was not written");
        }
        return elapsed;
    }

    bool AllUnchecked() const
    {
        for (const Option& option : kOptions) {
            if (SendMessageW(program_.item(option.id), BM_GETCHECK, 0, 0) != BST_UNCHECKED)
                return false;
        }
        return true;
    }

    bool BackupIsOriginal() const { return ReadBytes(game_.backupPath()) == expected_.original(); }
    int applies() const { return applies_; }
    int verified() const { return verified_; }

private:
    StartedProgram& program_;
    const GameFolder& game_;
    const NetworkInterfaces& interfaces_;
    Expectation expected_;
    int applies_ = 0;
    int verified_ = 0;
};

// One CopyFileW of the file; with `flush`, the copy is also flushed to the disk, as each save of Apply is.
double MedianCopyMs(const std::wstring& from, int copies, bool flush)
{
    const std::wstring to = from + L".copy";
    std::vector<double> samples;
    for (int i = 0; i < copies; ++i) {
        DeleteFileW(to.c_str());   // a new file each time, as Apply's saves make one
        const Stopwatch watch;
        bool copied = CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
        if (copied && flush) {
            const kelvane::UniqueFile copy(
                CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            copied = copy && FlushFileBuffers(copy.get());
        }
        samples.push_back(watch.Milliseconds());
        if (!copied)
            std::printf("  the copy failed, error %lu\n", GetLastError());
    }
    DeleteFileW(to.c_str());
    return Median(samples);
}

void Row(const std::string& what, double ms, double copyMs, const char* goal, const char* met)
{
    std::printf("row|apply|%s|%.2f|one CopyFileW|%.3f|%.1f|%s|%s\n", what.c_str(), ms, copyMs, ms / copyMs, goal, met);
}

// Watches the WTF folder: each save writes a temporary file beside config.wtf, which then takes its place.
class FolderWatch {
public:
    struct Seen {
        int placements = 0;   // config.wtf appeared, by a new file or a rename onto its name
        std::string events;   // every change, in order, for the log
    };

    explicit FolderWatch(const std::wstring& folder)
        : folder_(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)),
          event_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
        Read();
    }
    ~FolderWatch() { CancelIo(folder_.get()); }

    // What changed since the watch began, once the folder has been quiet for a moment; -1 placements when the
    // folder cannot be watched.
    Seen Collect()
    {
        constexpr DWORD kQuietMs = 200;
        constexpr const char* kActions[] = {"?", "added", "removed", "modified", "renamed from", "renamed to"};
        Seen seen;
        if (!reading_) {
            seen.placements = -1;
            return seen;
        }
        DWORD bytes = 0;
        while (WaitForSingleObject(event_.get(), kQuietMs) == WAIT_OBJECT_0 &&
               GetOverlappedResult(folder_.get(), &overlapped_, &bytes, FALSE)) {
            for (std::size_t at = 0; bytes > 0;) {
                const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + at);
                const std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
                const bool arrived = info->Action == FILE_ACTION_ADDED || info->Action == FILE_ACTION_RENAMED_NEW_NAME;
                seen.placements += arrived && name == L"config.wtf";
                seen.events += std::string(seen.events.empty() ? "" : ", ") +
                               kActions[info->Action < std::size(kActions) ? info->Action : 0] + " " +
                               std::string(name.begin(), name.end());   // the names here are ASCII
                if (info->NextEntryOffset == 0)
                    break;
                at += info->NextEntryOffset;
            }
            Read();
        }
        return seen;
    }

private:
    void Read()
    {
        ResetEvent(event_.get());
        overlapped_ = OVERLAPPED{};
        overlapped_.hEvent = event_.get();
        reading_ = folder_ && ReadDirectoryChangesW(folder_.get(), buffer_, sizeof(buffer_), FALSE,
                                                    FILE_NOTIFY_CHANGE_FILE_NAME, nullptr, &overlapped_, nullptr);
    }

    kelvane::UniqueFile folder_;
    kelvane::UniqueKernelObject event_;
    OVERLAPPED overlapped_{};
    alignas(DWORD) unsigned char buffer_[16 * 1024];
    bool reading_ = false;
};

std::string Runs(const std::vector<double>& samples)
{
    return "median of " + std::to_string(samples.size());
}

std::vector<const Option*> AllOptions()
{
    std::vector<const Option*> all;
    for (const Option& option : kOptions)
        all.push_back(&option);
    return all;
}

// One size: a fresh program on a fresh game folder; false when something did not go as the benchmark needs.
bool RunSize(const Size& size, InstalledGame& installed, const NetworkInterfaces& interfaces)
{
    const std::string original = PlayerConfig(size.settings);
    GameFolder game(original);
    ClearNetworkTweak();   // an earlier size may have left the network option on
    if (!game.ok() || !installed.Point(game.folder())) {
        std::printf("apply: cannot seed the game folder\n");
        return false;
    }
    const std::string name = std::to_string(size.settings) + " settings";
    std::printf("apply: config.wtf of %s (%zu bytes)\n", name.c_str(), original.size());
    const double copyMs = MedianCopyMs(game.configPath(), size.copies, false);
    const double flushedCopyMs = MedianCopyMs(game.configPath(), size.copies, true);
    std::printf("  one CopyFileW of it: median %.3f ms; with a flush of the copy %.3f ms (%d copies each)\n", copyMs,
                flushedCopyMs, size.copies);

    StartedProgram program(ProgramPath(), kProgramTitle);
    if (!program.window())
        return false;
    program.Settle();
    Benchmark bench(program, game, interfaces, original);
    if (!bench.AllUnchecked()) {
        std::printf("  the program did not start with every option off\n");
        return false;
    }

    // Every run flips all five, so the runs alternate between switching all on and all off. The two directions
    // are reported apart: only switching the texture option on asks DirectDraw for the display memory.
    const std::vector<const Option*> all = AllOptions();
    const double first = bench.TimedApply(all, "first Apply");
    const bool backedUp = bench.BackupIsOriginal();
    std::vector<double> onSamples, offSamples;
    for (int run = 1; run <= size.runs; ++run) {
        const bool on = run % 2 == 0;
        (on ? onSamples : offSamples).push_back(bench.TimedApply(all, on ? "Apply, all on" : "Apply, all off"));
    }
    std::printf("  first Apply, all on (takes the backup too): %.2f ms; the backup %s\n", first,
                backedUp ? "holds the original file" : "is WRONG");
    std::printf("  all on:  median %8.2f ms (%zu runs), %.1f copies\n", Median(onSamples), onSamples.size(),
                Median(onSamples) / copyMs);
    std::printf("  all off: median %8.2f ms (%zu runs), %.1f copies\n", Median(offSamples), offSamples.size(),
                Median(offSamples) / copyMs);

    const bool realistic = size.runsPerOption > 0;
    Row(name + ": all five switched on (" + Runs(onSamples) + ")", Median(onSamples), copyMs, "-", "-");
    Row(name + ": all five switched off (" + Runs(offSamples) + ")", Median(offSamples), copyMs, "-", "-");
    Row(name + ": the first Apply, all on, which also takes the backup (1 run)", first, copyMs, "-", "-");
    Row(name + ": one CopyFileW and a flush of the copy (median of " + std::to_string(size.copies) + ")",
        flushedCopyMs, copyMs, "-", "-");

    // How often one Apply of all five puts config.wtf in place: one new file beside it per placement.
    {
        FolderWatch watch(game.folder() + L"\\WTF");
        bench.TimedApply(all, "Apply, all five watched");
        const FolderWatch::Seen seen = watch.Collect();
        std::printf("  one Apply of all five, in WTF: %s\n", seen.events.c_str());
        std::printf("row|apply|%s: placements of config.wtf in one Apply of all five|%d|-|-|-|= %d|%s\n",
                    name.c_str(), seen.placements, kPlacementGoal, seen.placements == kPlacementGoal ? "met" : "missed");
    }

    // What every Apply pays before any option's work: the click, the backup check and the buttons it updates.
    std::vector<double> unchanged;
    for (int run = 0; run < size.runs / 2; ++run)
        unchanged.push_back(bench.TimedApply({}, "Apply, nothing changed"));
    Row(name + ": nothing changed, the click alone (" + Runs(unchanged) + ")", Median(unchanged),
        copyMs, "-", "-");

    // Where the time goes: one option at a time, switched off and on again (all are on here).
    for (int i = 0; i < static_cast<int>(std::size(kOptions)) && realistic; ++i) {
        const Option& option = kOptions[i];
        std::vector<double> on, off;
        for (int run = 0; run < size.runsPerOption; ++run)
            (run % 2 ? on : off).push_back(bench.TimedApply({&option}, option.label));
        std::printf("  %-8s alone: on %8.2f ms, off %8.2f ms (%zu runs each)\n", option.label, Median(on),
                    Median(off), on.size());
        Row(name + ": " + option.label + " alone, switched on (" + Runs(on) + ")", Median(on), copyMs, "-", "-");
        Row(name + ": " + option.label + " alone, switched off (" + Runs(off) + ")", Median(off), copyMs, "-", "-");
    }

    std::printf("  SendMessageW(BM_CLICK) returned with every write in place after %d of %d Applies\n",
                bench.verified(), bench.applies());
    const int exitCode = program.Close();
    if (exitCode != kProgramExitOnClose)
        std::printf("  the program ended with exit code %d, not %d\n", exitCode, kProgramExitOnClose);
    return backedUp && bench.verified() == bench.applies() && exitCode == kProgramExitOnClose;
}

// The four game-file options switched in this process as one Apply does it: one load of config.wtf, the four
// edits in the accessors' order, one safe save; the display memory figure known already, as Apply finds it.
void TimeFourOptions(int settings, int writes)
{
    GameFolder game(PlayerConfig(settings));
    const kelvane::VideoMemorySource figure = [] { return std::optional<std::uint32_t>(268435456u); };
    std::vector<double> samples, saveSamples;
    int failures = 0;
    for (int i = 0; i < writes && game.ok(); ++i) {
        kelvane::OptionMask options = i % 2 ? 0 : kelvane::kGameFileOptions;
        const Stopwatch watch;
        kelvane::ConfigEditBatch batch(game.configPath());
        failures += !batch.Edit([&](kelvane::GameConfigFile& document) {
            return kelvane::TextureCacheTweak(options, document, kelvane::kWrite, figure);
        });
        failures += !batch.Edit([&](kelvane::GameConfigFile& document) {
            return kelvane::SyncBindingsTweak(options, document, kelvane::kWrite);
        });
        failures += !batch.Edit([&](kelvane::GameConfigFile& document) {
            return kelvane::SyncConfigTweak(options, document, kelvane::kWrite);
        });
        failures += !batch.Edit([&](kelvane::GameConfigFile& document) {
            return kelvane::SyncMacrosTweak(options, document, kelvane::kWrite);
        });
        const double edited = watch.Milliseconds();
        failures += !batch.Save();
        samples.push_back(watch.Milliseconds());
        saveSamples.push_back(samples.back() - edited);
    }
    if (!game.ok() || failures > 0) {
        std::printf("apply: writing the four options in this process failed\n");
        return;
    }
    const double copyMs = MedianCopyMs(game.configPath(), writes, false);
    const double ms = Median(samples);
    std::printf("apply: the four game-file options in this process: median %.2f ms, of which the save (a new file, "
                "its flush and the swap) %.2f ms; one CopyFileW and a flush %.2f ms\n",
                ms, Median(saveSamples), MedianCopyMs(game.configPath(), writes, true));
    Row(std::to_string(settings) + " settings: the four game-file options switched in this process, one load and one "
                                   "save (median of " + std::to_string(writes) + ")",
        ms, copyMs, "<= 10 copies", ms <= kGoalCopies * copyMs ? "met" : "missed");
}

// A player's pace: a tick, a pause, then Apply. In fresh programs, so that the display memory figure is not known
// yet when texture is ticked: a synchronize option's Apply beside the texture option's.
bool TimeApplyAfterPause(InstalledGame& installed)
{
    const std::string original = PlayerConfig(kSizes[0].settings);
    std::vector<double> syncSamples, textureSamples;
    for (int run = 0; run < kPauseRuns; ++run) {
        GameFolder game(original);
        if (!game.ok() || !installed.Point(game.folder()))
            return false;
        StartedProgram program(ProgramPath(), kProgramTitle);
        if (!program.window())
            return false;
        const auto tickPauseApply = [&program](int id) {
            SendMessageW(program.item(id), BM_CLICK, 0, 0);
            Sleep(kPlayerPauseMs);
            program.Settle();
            const Stopwatch watch;
            SendMessageW(program.item(IDC_APPLY), BM_CLICK, 0, 0);
            return watch.Milliseconds();
        };
        tickPauseApply(IDC_SYNC_BINDINGS);   // the first Apply of a run also takes the backup
        syncSamples.push_back(tickPauseApply(IDC_SYNC_MACROS));
        textureSamples.push_back(tickPauseApply(IDC_TEXTURE_CACHE));
        const std::string written = ReadBytes(game.configPath());
        if (written.find("SET textureCacheSize \"") == std::string::npos ||
            written.find("SET synchronizeMacros \"0\"") == std::string::npos) {
            std::printf("apply: the Applies after a pause did not write config.wtf\n");
            return false;
        }
        program.Close();
    }
    const double sync = Median(syncSamples);
    const double texture = Median(textureSamples);
    std::printf("apply: after a %lu ms pause, texture Apply median %.2f ms, synchronize Apply %.2f ms (%d runs)\n",
                kPlayerPauseMs, texture, sync, kPauseRuns);
    std::printf("row|apply|%d settings: texture switched on %lu ms after its tick, in a fresh program (median of %d)|"
                "%.2f|synchronize Apply|%.2f|%.2f|<= %.1f|%s\n",
                kSizes[0].settings, kPlayerPauseMs, kPauseRuns, texture, sync, texture / sync, kGoalPauseRatio,
                texture <= kGoalPauseRatio * sync ? "met" : "missed");
    return true;
}

// The display memory query that switching the texture option on makes, timed alone in this process.
void TimeVideoMemoryQuery(int calls)
{
    const kelvane::ComApartment apartment;
    const Stopwatch firstWatch;
    const bool answered = kelvane::QueryVideoMemory().has_value();
    const double first = firstWatch.Milliseconds();
    std::vector<double> samples;
    for (int i = 0; i < calls; ++i) {
        const Stopwatch watch;
        kelvane::QueryVideoMemory();
        samples.push_back(watch.Milliseconds());
    }
    std::printf("apply: QueryVideoMemory in this process: first call %.2f ms, then median %.2f ms (%d calls)%s\n",
                first, Median(samples), calls, answered ? "" : "; DirectDraw gave no answer");
    std::printf("row|apply|QueryVideoMemory alone, in the benchmark (%s; first call %.1f ms)|%.2f|-|-|-|-|-\n",
                Runs(samples).c_str(), first, Median(samples));
}

// The check every Apply (and start-up) makes whether the game runs from the folder: one walk over the processes.
void TimeGameCheck(int calls)
{
    GameFolder game(PlayerConfig(kSizes[0].settings));
    std::vector<double> samples;
    int running = 0;
    for (int i = 0; i < calls; ++i) {
        const Stopwatch watch;
        running += kelvane::IsGameRunningFrom(game.folder());
        samples.push_back(watch.Milliseconds());
    }
    if (running > 0)
        std::printf("apply: the game check found a game running from the benchmark's folder\n");
    std::printf("row|apply|the running-game check alone, in the benchmark (%s)|%.2f|-|-|-|-|-\n",
                Runs(samples).c_str(), Median(samples));
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (!MayChangeRegistry(argc, argv)) {
        std::printf("apply: changes HKEY_LOCAL_MACHINE; it runs only under Wine (a private prefix) unless given %s\n",
                    kAllowRegistryFlag);
        return 2;
    }
    if (GetFileAttributesW(ProgramPath().c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("apply: %ls is not built\n", ProgramPath().c_str());
        return 1;
    }
    InstalledGame installed;
    NetworkInterfaces interfaces(BenchInterfaces());
    if (!interfaces.ok()) {
        std::printf("apply: cannot seed the network interfaces\n");
        return 1;
    }
    bool ok = true;
    for (const Size& size : kSizes)
        ok = RunSize(size, installed, interfaces) && ok;
    ok = TimeApplyAfterPause(installed) && ok;
    TimeFourOptions(kSizes[0].settings, kFourOptionWrites);
    TimeVideoMemoryQuery(kVideoMemoryQueries);
    TimeGameCheck(kGameChecks);
    if (!ok)
        std::printf("apply: a run did not go as it should\n");
    return ok ? 0 : 1;
}
