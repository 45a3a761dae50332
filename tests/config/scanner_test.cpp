// The three writers of WTF (Apply's rewrite, the backup, Restore) while a scanner opens every file there for 0-3 ms
// without sharing delete, as virus scanners, search indexers and sync clients do: after every round the file written
// holds the old bytes or the new ones, the result says which, and nothing of ours is left behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include "common/unique_handle.h"
#include "config/game_config_file.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

using test::FolderNames;
using test::ReadBytes;
using test::TempGameFolder;

constexpr int kRounds = 40;
constexpr unsigned kLongestHoldMs = 3;

class Scanner {
public:
    explicit Scanner(std::wstring folder) : folder_(std::move(folder)), thread_([this] { Run(); }) {}
    ~Scanner()
    {
        stop_ = true;
        thread_.join();
    }
    // Returns once the scanner holds nothing, and it opens nothing until Resume.
    void Pause()
    {
        paused_ = true;
        const int request = ++pauseRequests_;
        while (pausedAt_ != request)
            Sleep(1);
    }
    void Resume() { paused_ = false; }

private:
    void Run()
    {
        std::minstd_rand random(25);
        while (!stop_) {
            if (paused_) {
                pausedAt_ = pauseRequests_.load();
                Sleep(1);
                continue;
            }
            for (const std::wstring& name : FolderNames(folder_)) {
                const UniqueFile held(CreateFileW((folder_ + L"\\" + name).c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                                  nullptr));
                if (held)
                    Sleep(random() % (kLongestHoldMs + 1));
            }
        }
    }

    const std::wstring folder_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> paused_{false};
    std::atomic<int> pauseRequests_{0};
    std::atomic<int> pausedAt_{-1};
    std::thread thread_;
};

// One writer: which file it writes, the bytes it puts there given the two files' bytes before, and the call.
struct Writer {
    const char* name;
    bool writesBackup;
    std::function<std::string(const std::string& config, const std::string& backup)> newBytes;
    std::function<WriteResult(const std::wstring& configPath)> write;
};

std::string RoundLine(int round) { return "SET round \"" + std::to_string(round) + "\"\r\n"; }

TEST(Scanner, EveryWriterLeavesTheOldBytesOrTheNewOnesAndNothingBehind)
{
    const Writer writers[] = {
        {"Apply's rewrite", false,
         [](const std::string& config, const std::string&) { return config + RoundLine(kRounds); },
         [](const std::wstring& configPath) {
             GameConfigFile doc;
             doc.Load(configPath.c_str());
             doc.SetValue(L"round", (L"\"" + std::to_wstring(kRounds) + L"\"").c_str());
             return doc.Save();
         }},
        {"the backup", true, [](const std::string& config, const std::string&) { return config; },
         [](const std::wstring& configPath) { return BackupConfigFile(configPath); }},
        {"Restore", false, [](const std::string&, const std::string& backup) { return backup; },
         [](const std::wstring& configPath) { return RestoreConfigFile(configPath); }},
    };
    for (const Writer& writer : writers) {
        SCOPED_TRACE(writer.name);
        TempGameFolder game;
        Scanner scanner(game.wtfFolder());
        int replaced = 0, refused = 0, missing = 0, orphans = 0, wrong = 0;
        ULONGLONG longestMs = 0;
        for (int round = 0; round < kRounds; ++round) {
            scanner.Pause();
            for (const std::wstring& name : FolderNames(game.wtfFolder()))   // an orphan counts once
                DeleteFileW((game.wtfFolder() + L"\\" + name).c_str());
            const std::string config = "SET config \"" + std::to_string(round) + "\"\r\n";
            const std::string backup = "SET backup \"" + std::to_string(round) + "\"\r\n";
            test::WriteBytes(game.configPath(), config);
            test::WriteBytes(game.backupPath(), backup);
            const std::string expected = writer.newBytes(config, backup);
            scanner.Resume();

            const ULONGLONG start = GetTickCount64();
            const WriteResult result = writer.write(game.configPath());
            longestMs = std::max(longestMs, GetTickCount64() - start);

            scanner.Pause();
            const std::string written = ReadBytes(writer.writesBackup ? game.backupPath() : game.configPath());
            const std::string other = ReadBytes(writer.writesBackup ? game.configPath() : game.backupPath());
            const std::string old = writer.writesBackup ? backup : config;
            missing += written == "<missing>";
            replaced += written == expected && result;
            refused += written == old && !result;
            wrong += !(written == expected && result) && !(written == old && !result) && written != "<missing>";
            wrong += other != (writer.writesBackup ? config : backup);
            orphans += static_cast<int>(FolderNames(game.wtfFolder()).size()) - 2 + (written == "<missing>");
            scanner.Resume();
        }
        std::printf("%s: %d rounds, %d replaced, %d refused, %d missing, %d orphans, %d wrong; longest call %llu ms\n",
                    writer.name, kRounds, replaced, refused, missing, orphans, wrong, longestMs);
        EXPECT_EQ(missing, 0);
        EXPECT_EQ(orphans, 0);
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(replaced, kRounds) << "a hold of a few milliseconds is waited out";
    }
}

}  // namespace
}  // namespace kelvane
