// Start-up time of kelvane.exe, from process creation until its dialog is visible and the program idle, beside
// the same for two yardsticks built in the same tree: bare_dialog.exe, an empty dialog of the same size and
// manifest, and bare_product_dialog.exe, the same program with the product's own template, icon and manifest.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "app/resources/resource.h"
#include "bench/bench_support.h"

namespace {

using namespace kelvane::bench;

constexpr int kDefaultRuns = 21;   // start-up under Wine varies by a third from run to run
constexpr int kRealisticSettings = 300;
constexpr double kGoalRatio = 1.05;   // beside the product's own template, icon and manifest without its code
constexpr int kProgramExitOnClose = 1;
constexpr int kBareExitOnClose = 0;

struct Subject {
    const char* label;
    std::wstring exe;
    std::wstring title;
    int exitCodeOnClose;
    std::vector<double> samples;
};

// One start, timed, then closed and waited for, so no two runs overlap.
bool TimeOneStart(Subject& subject, bool counted, const std::wstring& expectedFolder)
{
    double elapsed = 0.0;
    StartedProgram program(subject.exe, subject.title, &elapsed);
    if (!program.window())
        return false;
    bool ok = true;
    if (!counted && subject.exitCodeOnClose == kProgramExitOnClose) {
        // The seeded registry and folder are what the program found: so start-up really read config.wtf.
        wchar_t shown[MAX_PATH + 1] = L"<sentinel>";
        SendMessageW(program.item(IDC_GAME_PATH), WM_GETTEXT, MAX_PATH + 1, reinterpret_cast<LPARAM>(shown));
        if (expectedFolder != shown) {
            std::printf("  the program shows the game folder \"%ls\", not the seeded \"%ls\"\n", shown,
                        expectedFolder.c_str());
            ok = false;
        }
    }
    const int exitCode = program.Close();
    if (exitCode != subject.exitCodeOnClose) {
        std::printf("  %s ended with exit code %d, not %d\n", subject.label, exitCode, subject.exitCodeOnClose);
        ok = false;
    }
    if (counted)
        subject.samples.push_back(elapsed);
    return ok;
}

void PrintLine(const Subject& subject)
{
    const auto [low, high] = std::minmax_element(subject.samples.begin(), subject.samples.end());
    std::printf("  %-24s median %8.1f ms   min %8.1f   max %8.1f   (%zu runs)\n", subject.label,
                Median(subject.samples), *low, *high, subject.samples.size());
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (!MayChangeRegistry(argc, argv)) {
        std::printf("startup: seeds HKEY_LOCAL_MACHINE; it runs only under Wine (a private prefix) unless given %s\n",
                    kAllowRegistryFlag);
        return 2;
    }
    const int runs = IntegerArgument(argc, argv, "--runs", kDefaultRuns);

    Subject product{"kelvane.exe", ProgramPath(), kProgramTitle, kProgramExitOnClose, {}};
    Subject bare{"bare_dialog.exe", ModuleFolder() + L"bare_dialog.exe", L"Bare dialog", kBareExitOnClose, {}};
    Subject bareProduct{"bare_product_dialog.exe", ModuleFolder() + L"bare_product_dialog.exe",
                        kProgramTitle, kBareExitOnClose, {}};
    Subject* const subjects[] = {&product, &bare, &bareProduct};
    for (const Subject* subject : subjects) {
        if (GetFileAttributesW(subject->exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
            std::printf("startup: %ls is not built\n", subject->exe.c_str());
            return 1;
        }
    }

    // The yardsticks are fair only when every program starts with the same activation context.
    const std::string manifest = EmbeddedManifest(product.exe);
    if (manifest.empty() || manifest != EmbeddedManifest(bare.exe) ||
        manifest != EmbeddedManifest(bareProduct.exe)) {
        std::printf("startup: the three programs do not embed the same manifest\n");
        return 1;
    }

    const std::string config = PlayerConfig(kRealisticSettings);
    GameFolder game(config);
    InstalledGame installed;
    NetworkInterfaces interfaces(BenchInterfaces());
    if (!game.ok() || !installed.Point(game.folder()) || !interfaces.ok()) {
        std::printf("startup: cannot seed the game folder and the registry\n");
        return 1;
    }
    std::printf("startup: config.wtf of %d settings (%zu bytes), %d runs each, in turn\n", kRealisticSettings,
                config.size(), runs);

    bool ok = true;
    // Run 0 of each is a warm-up, not counted: the first start pages the DLLs in. The order rotates so that no
    // program always follows the same one's shut-down.
    constexpr int kSubjects = static_cast<int>(std::size(subjects));
    for (int run = 0; run <= runs && ok; ++run) {
        for (int i = 0; i < kSubjects && ok; ++i)
            ok = TimeOneStart(*subjects[(run + i) % kSubjects], run > 0, game.folder());
    }
    if (!ok) {
        std::printf("startup: a run failed\n");
        return 1;
    }

    for (const Subject* subject : subjects)
        PrintLine(*subject);
    const double productMs = Median(product.samples);
    const auto fastest = [](const Subject& subject) {
        return *std::min_element(subject.samples.begin(), subject.samples.end());
    };
    for (const Subject* yardstick : {&bare, &bareProduct}) {
        const double ratio = productMs / Median(yardstick->samples);
        std::printf("  beside %s: ratio of the medians %.3f, of the fastest runs %.3f\n", yardstick->label, ratio,
                    fastest(product) / fastest(*yardstick));
    }
    const double bareMs = Median(bare.samples);
    std::printf("row|startup|kelvane.exe to visible and idle, config.wtf of %d settings (%d runs)|%.1f|"
                "bare_dialog.exe|%.1f|%.3f|-|-\n",
                kRealisticSettings, runs, productMs, bareMs, productMs / bareMs);
    const double bareProductMs = Median(bareProduct.samples);
    const double ratio = productMs / bareProductMs;
    std::printf("row|startup|the same, beside the product's template, icon and manifest without its code|%.1f|"
                "bare_product_dialog|%.1f|%.3f|<= %.2f|%s\n",
                productMs, bareProductMs, ratio, kGoalRatio, ratio <= kGoalRatio ? "met" : "missed");
    return 0;
}
