// Timing, the seeded game folder and registry, and starting and closing a dialog program, for the benchmarks.
#include "bench/bench_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace kelvane::bench {
namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kSettleTimeoutMs = 10000;
// Under Wine without a window manager, hiding and destroying a shown window alone can take seconds.
constexpr DWORD kCloseTimeoutMs = 30000;
constexpr int kCloseButtonId = IDOK;

// Setting names as a player's config.wtf holds them, with values of the same shapes.
struct Setting {
    const char* name;
    const char* value;
};
constexpr Setting kRealSettings[] = {
    {"locale", "\"enUS\""}, {"portal", "\"EU\""}, {"realmList", "\"eu.logon.worldofwarcraft.com\""},
    {"patchlist", "\"eu.version.worldofwarcraft.com\""}, {"accountName", "\"PLAYER@EXAMPLE.COM\""},
    {"accountList", "\"!WoW1|\""}, {"lastCharacterIndex", "\"2\""}, {"realmName", "\"Silvermoon\""},
    {"gxApi", "\"D3D11\""}, {"gxWindow", "\"1\""}, {"gxMaximize", "\"1\""}, {"gxResolution", "\"1920x1080\""},
    {"gxWindowedResolution", "\"1600x900\""}, {"gxFullscreenResolution", "\"1920x1080\""}, {"gxRefresh", "\"60\""},
    {"gxMultisample", "\"1\""}, {"gxVSync", "\"1\""}, {"gxTripleBuffer", "\"0\""}, {"gxCursor", "\"1\""},
    {"gxFixLag", "\"0\""}, {"gxAdapter", "\"\""}, {"hwDetect", "\"0\""}, {"videoOptionsVersion", "\"5\""},
    {"graphicsQuality", "\"7\""}, {"graphicsTextureResolution", "\"3\""}, {"graphicsTextureFiltering", "\"6\""},
    {"graphicsProjectedTextures", "\"2\""}, {"graphicsViewDistance", "\"8\""},
    {"graphicsEnvironmentDetail", "\"8\""}, {"graphicsGroundClutter", "\"7\""}, {"graphicsShadowQuality", "\"4\""},
    {"graphicsLiquidDetail", "\"3\""}, {"graphicsSunshafts", "\"2\""}, {"graphicsParticleDensity", "\"5\""},
    {"graphicsSSAO", "\"3\""}, {"graphicsDepthEffects", "\"3\""}, {"graphicsLightingQuality", "\"2\""},
    {"graphicsOutlineMode", "\"2\""}, {"raidGraphicsQuality", "\"3\""}, {"farclip", "\"1000\""},
    {"horizonStart", "\"800\""}, {"groundEffectDensity", "\"64\""}, {"groundEffectDist", "\"70\""},
    {"particleDensity", "\"100\""}, {"projectedTextures", "\"1\""}, {"shadowMode", "\"2\""}, {"waterDetail", "\"2\""},
    {"sunShafts", "\"1\""}, {"ssao", "\"2\""}, {"textureFilteringMode", "\"5\""}, {"maxFPS", "\"144\""},
    {"maxFPSBk", "\"30\""}, {"Gamma", "\"1.000000\""}, {"Contrast", "\"50\""}, {"Brightness", "\"50\""},
    {"RenderScale", "\"1\""}, {"MSAAQuality", "\"0\""}, {"ffxGlow", "\"0\""}, {"ffxDeath", "\"0\""},
    {"ffxNether", "\"0\""}, {"spellClutter", "\"-1\""}, {"lodObjectCullSize", "\"20\""},
    {"worldBaseMip", "\"0\""}, {"terrainMipLevel", "\"0\""}, {"componentTextureLevel", "\"0\""},
    {"Sound_MasterVolume", "\"0.5\""}, {"Sound_SFXVolume", "\"0.8\""}, {"Sound_MusicVolume", "\"0.3\""},
    {"Sound_AmbienceVolume", "\"0.6\""}, {"Sound_DialogVolume", "\"1.0\""}, {"Sound_EnableMusic", "\"0\""},
    {"Sound_EnableAllSound", "\"1\""}, {"Sound_EnableSFX", "\"1\""}, {"Sound_EnableAmbience", "\"1\""},
    {"Sound_EnableErrorSpeech", "\"0\""}, {"Sound_EnableSoundWhenGameIsInBG", "\"1\""},
    {"Sound_OutputDriverName", "\"System Default\""}, {"Sound_NumChannels", "\"64\""},
    {"Sound_ZoneMusicNoDelay", "\"1\""}, {"cameraDistanceMaxZoomFactor", "\"2.6\""}, {"cameraSmoothStyle", "\"0\""},
    {"cameraYawMoveSpeed", "\"180\""}, {"cameraPitchMoveSpeed", "\"90\""}, {"cameraWaterCollision", "\"0\""},
    {"autoLootDefault", "\"1\""}, {"autoDismountFlying", "\"1\""}, {"autoSelfCast", "\"1\""},
    {"showTutorials", "\"0\""}, {"lastAddonVersion", "\"100207\""}, {"uiScale", "\"0.64\""},
    {"useUiScale", "\"1\""}, {"nameplateShowEnemies", "\"1\""}, {"nameplateShowFriends", "\"0\""},
    {"nameplateMotion", "\"1\""}, {"nameplateMaxDistance", "\"41\""}, {"checkAddonVersion", "\"0\""},
    {"scriptErrors", "\"0\""}, {"mouseSpeed", "\"1\""}, {"enableMouseSpeed", "\"0\""}, {"rawMouseEnable", "\"1\""},
    {"ChatMusicVolume", "\"0.3\""}, {"chatStyle", "\"classic\""}, {"whisperMode", "\"inline\""},
    {"lastTalkedToGM", "\"\""}, {"flaggedTutorials", "\"v##9##E##F##M##J##N##O##P\""},
    {"minimapTrackingShowAll", "\"1\""}, {"playerStatLeftDropdown", "\"PLAYERSTAT_BASE_STATS\""},
    {"screenshotFormat", "\"jpeg\""}, {"screenshotQuality", "\"10\""}, {"movieSubtitle", "\"1\""},
    {"agentUID", "\"wow_enus\""}, {"installType", "\"Retail\""}, {"expandUpgradePanel", "\"0\""},
    {"EJLootClass", "\"5\""}, {"lastVoidStorageTutorial", "\"3\""}, {"ActionButtonUseKeyDown", "\"1\""},
};
constexpr const char* kFamilies[] = {"nameplate", "raidFrames", "actionBar", "combatText", "chatBubbles",
                                     "camera", "Sound_", "graphics", "raidGraphics", "unitFrame"};
constexpr const char* kWords[] = {"Enabled", "Scale", "Alpha", "Mode", "Size", "Distance", "Speed", "Style",
                                  "Quality", "Delay", "Limit", "Volume", "Offset", "Count", "Filter", "Show",
                                  "Sort", "Color"};
constexpr const char* kValues[] = {"\"1\"", "\"0\"", "\"0.5\"", "\"3\"", "\"100\"", "\"1.000000\"", "\"2\""};

}  // namespace

Stopwatch::Stopwatch()
{
    QueryPerformanceCounter(&start_);
}

double Stopwatch::Milliseconds() const
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2.0;
}

bool MayChangeRegistry(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], kAllowRegistryFlag) == 0)
            return true;
    }
    return RunningUnderWine();
}

int IntegerArgument(int argc, char** argv, const char* name, int fallback)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0)
            return std::max(1, std::atoi(argv[i + 1]));
    }
    return fallback;
}

const std::vector<std::wstring>& BenchInterfaces()
{
    static const std::vector<std::wstring> names = {L"{0000BE4C-0000-4000-8000-000000000001}",
                                                    L"{0000BE4C-0000-4000-8000-000000000002}"};
    return names;
}

std::string PlayerConfig(int settings)
{
    const int real = static_cast<int>(std::size(kRealSettings));
    const int families = static_cast<int>(std::size(kFamilies));
    const int words = static_cast<int>(std::size(kWords));
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(settings) * 40);
    for (int i = 0; i < settings; ++i) {
        bytes += "SET ";
        if (i < real) {
            bytes += kRealSettings[i].name;
            bytes += ' ';
            bytes += kRealSettings[i].value;
        } else {
            const int j = i - real;
            bytes += kFamilies[j % families];
            bytes += kWords[(j / families) % words];
            if (const int round = j / (families * words); round > 0)
                bytes += std::to_string(round);
            bytes += ' ';
            bytes += kValues[j % std::size(kValues)];
        }
        bytes += "\r\n";
    }
    return bytes;
}

StartedProgram::StartedProgram(const std::wstring& exe, const std::wstring& title, double* elapsedMs)
    : program_(exe, L"", SW_SHOWNORMAL, title, kStartTimeoutMs)
{
    if (elapsedMs)
        *elapsedMs = watch_.Milliseconds();
    if (program_.startError() != 0)
        std::fprintf(stderr, "cannot start %ls, error %lu\n", exe.c_str(), program_.startError());
    else if (!window())
        std::fprintf(stderr, "the window \"%ls\" of %ls did not appear\n", title.c_str(), exe.c_str());
}

void StartedProgram::Settle() const
{
    program_.Settle(kSettleTimeoutMs);
}

int StartedProgram::Close()
{
    if (const HWND close = GetDlgItem(window(), kCloseButtonId))
        PostMessageW(close, BM_CLICK, 0, 0);
    else if (window())
        PostMessageW(window(), WM_CLOSE, 0, 0);
    return program_.WaitForExit(kCloseTimeoutMs);
}

}  // namespace kelvane::bench
