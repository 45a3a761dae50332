// Load and Save of config.wtf at 1 thousand, 100 thousand and 1 million lines, each beside the limit set by the
// same bytes on the same file: one counting pass through a read-only mapping, and one WriteFile with one flush.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/unique_handle.h"
#include "config/config_text.h"
#include "config/game_config_file.h"
#include "config/mapped_file_view.h"

namespace {

using kelvane::GameConfigFile;
using kelvane::bench::Median;
using kelvane::bench::Stopwatch;

struct Size {
    int lines;
    int runs;
};

constexpr Size kSizes[] = {{1000, 41}, {100000, 11}, {1000000, 7}};

// Names and values shaped like the game's own, so most names need storage of their own as they would.
std::string GenerateConfig(int lines)
{
    static const char* const kNames[] = {"gxResolution", "textureCacheSize", "cameraDistanceMaxZoomFactor",
                                         "synchronizeConfig", "particleDensity", "farclip", "Sound_MasterVolume",
                                         "lastCharacterIndex", "accounttype", "realmList"};
    static const char* const kValues[] = {"\"1920x1080\"", "\"134217728\"", "\"2.6\"", "\"0\"",
                                          "\"eu.logon.worldofwarcraft.com\"", "\"1\""};
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(lines) * 40);
    for (int i = 0; i < lines; ++i) {
        bytes += "SET ";
        bytes += kNames[i % std::size(kNames)];
        bytes += std::to_string(i);
        bytes += ' ';
        bytes += kValues[i % std::size(kValues)];
        bytes += "\r\n";
    }
    return bytes;
}

bool WriteWhole(const std::wstring& path, const std::string& bytes)
{
    const kelvane::UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size() && FlushFileBuffers(file.get());
}

// The least that Load can do: map the file and look at every byte once, eight bytes a step (faster under Wine
// than std::count or memchr, so the limit is not flattered).
std::size_t CountLines(const std::wstring& path)
{
    constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;
    constexpr std::uint64_t kLineFeeds = kEveryByte * '\n';
    const kelvane::MappedFileView view(path.c_str());
    const char* p = view.data();
    const char* const end = p + view.size();
    std::size_t lines = 0;
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof(word));
        const std::uint64_t x = word ^ kLineFeeds;   // a zero byte where the file has LF
        const std::uint64_t t = (x & 0x7F7F7F7F7F7F7F7Full) + 0x7F7F7F7F7F7F7F7Full;
        const std::uint64_t zeros = ~(t | x | 0x7F7F7F7F7F7F7F7Full);   // exactly the high bit of each zero byte
        lines += static_cast<std::size_t>(__builtin_popcountll(zeros));
    }
    lines += static_cast<std::size_t>(std::count(p, end, '\n'));
    return lines;
}

// The same pass with std::count, for comparison: the C library's byte-by-byte speed under Wine.
std::size_t CountLinesByteByByte(const std::wstring& path)
{
    const kelvane::MappedFileView view(path.c_str());
    return static_cast<std::size_t>(std::count(view.data(), view.data() + view.size(), '\n'));
}

std::wstring MakeFolder()
{
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, base);
    const std::wstring folder = std::wstring(base) + L"kelvane-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

}  // namespace

int main()
{
    const std::wstring folder = MakeFolder();
    const std::wstring configPath = folder + L"\\config.wtf";
    const std::wstring limitPath = folder + L"\\limit.wtf";
    int failures = 0;

    std::printf("%9s %7s | %8s %8s %6s %11s %10s | %8s %8s %6s | %9s %9s\n", "lines", "MiB", "Load ms", "limit ms",
                "ratio", "std::count", "entries ms", "Save ms", "limit ms", "ratio", "Load ns/l", "Save ns/l");
    for (const Size size : kSizes) {
        const std::string bytes = GenerateConfig(size.lines);
        if (!WriteWhole(configPath, bytes)) {
            std::printf("cannot write %d lines\n", size.lines);
            return 1;
        }
        std::vector<double> load, loadLimit, byteByByte, entriesAlone, save, saveLimit;
        GameConfigFile doc;
        for (int run = 0; run < size.runs; ++run) {
            {
                const Stopwatch watch;
                const std::size_t lines = CountLines(configPath);
                loadLimit.push_back(watch.Milliseconds());
                failures += lines != static_cast<std::size_t>(size.lines);
            }
            {
                const Stopwatch watch;
                const std::size_t lines = CountLinesByteByByte(configPath);
                byteByByte.push_back(watch.Milliseconds());
                failures += lines != static_cast<std::size_t>(size.lines);
            }
            {
                GameConfigFile fresh;   // destroyed after the measurement: Load's own work only
                const Stopwatch watch;
                const bool loaded = fresh.Load(configPath.c_str());
                load.push_back(watch.Milliseconds());
                failures += !loaded || fresh.entries().size() != static_cast<std::size_t>(size.lines);
            }
            {
                const Stopwatch watch;
                failures += !WriteWhole(limitPath, bytes);
                saveLimit.push_back(watch.Milliseconds());
            }
            if (run == 0)
                doc.Load(configPath.c_str());
            {
                // What the entries' array alone costs in fresh memory, beside the copy of the file that they view.
                const Stopwatch watch;
                const std::vector<kelvane::ConfigEntry> copy = doc.entries();
                entriesAlone.push_back(watch.Milliseconds());
                failures += copy.size() != static_cast<std::size_t>(size.lines);
            }
            {
                const Stopwatch watch;
                failures += !doc.Save();
                save.push_back(watch.Milliseconds());
            }
        }
        failures += kelvane::WrittenForm(doc.entries()) != bytes;   // Save rewrote the same bytes it was timed on

        const double loadMs = Median(load), loadLimitMs = Median(loadLimit);
        const double saveMs = Median(save), saveLimitMs = Median(saveLimit);
        std::printf("%9d %7.2f | %8.2f %8.2f %6.2f %11.2f %10.2f | %8.2f %8.2f %6.2f | %9.1f %9.1f\n", size.lines,
                    static_cast<double>(bytes.size()) / (1024.0 * 1024.0), loadMs, loadLimitMs, loadMs / loadLimitMs,
                    Median(byteByByte), Median(entriesAlone), saveMs, saveLimitMs, saveMs / saveLimitMs, 1e6 * loadMs / size.lines,
                    1e6 * saveMs / size.lines);
    }

    DeleteFileW(configPath.c_str());
    DeleteFileW(limitPath.c_str());
    RemoveDirectoryW(folder.c_str());
    if (failures != 0)
        std::printf("%d runs gave a wrong result\n", failures);
    return failures == 0 ? 0 : 1;
}
