// Apply, Restore and the game folder edit, in the real dialog with a temporary game folder and a scratch registry.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "app/resources/resource.h"
#include "common/unique_handle.h"
#include "tests/support/dialog_harness.h"
#include "tests/support/folder_rights.h"
#include "tests/support/notes.h"
#include "tests/support/refusals.h"
#include "tests/support/scratch_registry.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

using test::DialogHarness;
using test::kApplyFailedNote;
using test::kGameNote;
using test::kRestoreFailedNote;
using test::ReadBytes;
using test::TempGameFolder;

constexpr char kPlayerConfig[] =
    "SET locale \"enUS\"\r\n"
    "# the player's own comment\r\n"
    "SET synchronizeConfig \"0\"\r\n"
    "SET gxResolution \"1024x768\"\r\n";
// The player's file once saved: the comment is dropped, and each change is appended.
const std::string kSaved = "SET locale \"enUS\"\r\nSET synchronizeConfig \"0\"\r\nSET gxResolution \"1024x768\"\r\n";
constexpr char kMacrosLine[] = "SET synchronizeMacros \"0\"\r\n";

// DirectDraw cannot see the displays while HKEY_LOCAL_MACHINE is redirected: the dialog gets a known adapter.
std::optional<std::uint32_t> Adapter256MiB() { return 268435456u; }

// An adapter whose driver may refuse to answer, counting how often it was asked.
std::atomic<int> queriesAsked{0};
std::atomic<bool> adapterAnswers{true};
std::optional<std::uint32_t> CountedAdapter()
{
    ++queriesAsked;
    return adapterAnswers ? Adapter256MiB() : std::nullopt;
}

// A driver that answers only when told, so the dialog can be closed while the worker still waits on it.
const UniqueKernelObject driverMayAnswer(CreateEventW(nullptr, TRUE, FALSE, nullptr));
const UniqueKernelObject driverAnswered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
UniqueKernelObject answeringThread;   // the worker that asked, for the test to wait for its end
std::optional<std::uint32_t> StuckAdapter()
{
    WaitForSingleObject(driverMayAnswer.get(), INFINITE);
    answeringThread = UniqueKernelObject(OpenThread(SYNCHRONIZE, FALSE, GetCurrentThreadId()));
    SetEvent(driverAnswered.get());
    return Adapter256MiB();
}

class ApplyRestoreTest : public test::DialogTest {
protected:
    ApplyRestoreTest() : DialogTest(kPlayerConfig)
    {
        MainDialog::videoMemoryQuery = &Adapter256MiB;
        test::SetNetworkInterface(L"{A}", false);
        test::SetNetworkInterface(L"{B}", false);
    }
    ~ApplyRestoreTest() override { MainDialog::videoMemoryQuery = &QueryVideoMemory; }
};

TEST_F(ApplyRestoreTest, TheRoadOfOneApplyBacksUpThenAppendsTheSetting)
{
    Start();
    ASSERT_EQ(ui->currentOptions(), kOptionSyncConfig);
    ui->Click(IDC_SYNC_MACROS);
    EXPECT_EQ(ui->Text(IDC_NOTE), kGameNote);
    ui->Click(IDC_APPLY);

    EXPECT_EQ(ReadBytes(game.backupPath()), kPlayerConfig);
    EXPECT_EQ(game.config(), kSaved + kMacrosLine);
    EXPECT_EQ(ui->appliedOptions(), kOptionSyncConfig | kOptionSyncMacros);
    EXPECT_TRUE(ui->IsEnabled(IDC_RESTORE_CONFIG));
    EXPECT_FALSE(ui->IsEnabled(IDC_REVERT));
    EXPECT_FALSE(ui->IsChecked(IDC_BACKUP_CONFIG));
    EXPECT_EQ(ui->Text(IDC_NOTE), kGameNote);   // the applied change still needs the game restarted
    EXPECT_FALSE(test::InterfaceAcksEverySegment(L"{A}"));
}

TEST_F(ApplyRestoreTest, AnApplyThatLeavesConfigAloneKeepsTheEarlierBackup)
{
    test::WriteBytes(game.backupPath(), "an old backup from an earlier run");
    Start();
    ui->Apply({IDC_NETWORK_LATENCY});
    EXPECT_EQ(ReadBytes(game.backupPath()), "an old backup from an earlier run");
    EXPECT_EQ(game.config(), kPlayerConfig);   // not rewritten: the comment line is still there
    EXPECT_FALSE(ui->IsEnabled(IDC_RESTORE_CONFIG));
    EXPECT_TRUE(ui->IsChecked(IDC_BACKUP_CONFIG));
    EXPECT_FALSE(ui->IsEnabled(IDC_REVERT));
    EXPECT_EQ(ui->Text(IDC_NOTE), test::kWindowsNote);
    EXPECT_TRUE(test::InterfaceAcksEverySegment(L"{A}"));
}

TEST_F(ApplyRestoreTest, OnlyTheFirstApplyOfARunTakesTheBackup)
{
    Start();
    ui->Apply({IDC_SYNC_MACROS});
    const std::string afterFirst = game.config();
    ui->Apply({IDC_SYNC_BINDINGS});
    EXPECT_EQ(ReadBytes(game.backupPath()), kPlayerConfig);
    EXPECT_EQ(game.config(), afterFirst + "SET synchronizeBindings \"0\"\r\n");
}

TEST_F(ApplyRestoreTest, EveryOptionAppliedAtOnceIsWrittenInOrder)
{
    Start();
    ui->Apply({IDC_NETWORK_LATENCY, IDC_TEXTURE_CACHE, IDC_SYNC_CONFIG, IDC_SYNC_MACROS, IDC_SYNC_BINDINGS});
    EXPECT_TRUE(test::InterfaceAcksEverySegment(L"{A}"));
    EXPECT_TRUE(test::InterfaceAcksEverySegment(L"{B}"));
    const std::string config = game.config();
    EXPECT_EQ(config.find("synchronizeConfig"), std::string::npos);
    // texture, bindings and macros are appended in the order they are written
    const size_t texture = config.find("SET textureCacheSize \"134217728\"\r\n");
    const size_t bindings = config.find("SET synchronizeBindings \"0\"\r\n");
    const size_t macros = config.find("SET synchronizeMacros \"0\"\r\n");
    ASSERT_NE(texture, std::string::npos);
    ASSERT_NE(bindings, std::string::npos);
    ASSERT_NE(macros, std::string::npos);
    EXPECT_LT(texture, bindings);
    EXPECT_LT(bindings, macros);
    EXPECT_EQ(ui->Text(IDC_NOTE), test::kWindowsNote);   // every option landed: the network's note, no failure
}

TEST_F(ApplyRestoreTest, TheGameFileOptionsOfOneApplyLandTogetherAsOneSavePerOptionWouldLeaveThem)
{
    // A setting without a value is dropped by the first save, so macros goes to the end, not into its old place.
    constexpr char kPlayer[] = "SET locale \"enUS\"\r\n# comment\r\nSET synchronizeMacros\r\nSET textureCacheSize \"1\"\r\n"
                               "SET synchronizeConfig \"0\"\r\nSET gxResolution \"1024x768\"\r\n";
    constexpr char kApplied[] = "SET locale \"enUS\"\r\nSET gxResolution \"1024x768\"\r\nSET synchronizeBindings \"0\"\r\n"
                                "SET synchronizeMacros \"0\"\r\n";
    const test::Obstacle obstacles[] = {
        {"nothing in the way", nullptr, nullptr},
        {"a read-only config.wtf", [this] { return test::ReadOnlyConfig(game); }, test::kReadOnlyNote},
    };
    for (const test::Obstacle& obstacle : obstacles) {
        test::WriteBytes(game.configPath(), kPlayer);
        Start();
        test::RefuseThenLand(*ui, game.configPath(), obstacle,
                             {IDC_TEXTURE_CACHE, IDC_SYNC_BINDINGS, IDC_SYNC_CONFIG, IDC_SYNC_MACROS},
                             {kApplied, std::nullopt, test::AppliedOnlyOnceLanded(*ui)});
        ui.reset();
        DeleteFileW(game.backupPath().c_str());
    }
}

TEST_F(ApplyRestoreTest, TheDisplayMemoryIsAskedOnceARunAndAgainAfterItFailed)
{
    const std::string landed = kSaved + "SET textureCacheSize \"134217728\"\r\n";
    queriesAsked = 0;
    MainDialog::videoMemoryQuery = &CountedAdapter;
    Start();
    test::RefuseThenLand(*ui, game.configPath(),
                         {"no answer from the driver",
                          [] {
                              adapterAnswers = false;
                              return test::Removal([] { adapterAnswers = true; });
                          },
                          test::kNoVideoMemoryNote},
                         {IDC_TEXTURE_CACHE}, {landed, std::nullopt, test::AppliedOnlyOnceLanded(*ui)});
    for (int turn = 0; turn < 2; ++turn)   // off, and on again with the figure kept
        ui->Apply({IDC_TEXTURE_CACHE});
    EXPECT_EQ(queriesAsked, 2);
    EXPECT_EQ(game.config(), landed);
    EXPECT_EQ(ui->appliedOptions(), kOptionSyncConfig | kOptionTextureCache);
}

TEST_F(ApplyRestoreTest, ClosingWhileTheDriverIsStillAskedDoesNotHang)
{
    constexpr ULONGLONG kWellBeforeTheAnswerWaitMs = 10000;   // the program's own bound on closing is 2 s
    MainDialog::videoMemoryQuery = &StuckAdapter;
    Start();
    ui->Click(IDC_TEXTURE_CACHE);   // the question is asked from here on
    const ULONGLONG closing = GetTickCount64();
    ui.reset();
    EXPECT_LT(GetTickCount64() - closing, kWellBeforeTheAnswerWaitMs);
    // The worker then answers into its own share of the question, after the dialog is gone, and ends.
    SetEvent(driverMayAnswer.get());
    ASSERT_EQ(WaitForSingleObject(driverAnswered.get(), 5000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(answeringThread.get(), 5000), WAIT_OBJECT_0);   // its last write has landed
}

TEST_F(ApplyRestoreTest, AnApplyWaitingForTheDriverStillAnswersMovesAndTakesClose)
{
    constexpr DWORD kAnswerMs = 5000;   // far below the program's own 30 s bound on the wait
    ResetEvent(driverMayAnswer.get());
    MainDialog::videoMemoryQuery = &StuckAdapter;
    Start();
    ui->Click(IDC_TEXTURE_CACHE);
    ui->Click(IDC_SYNC_MACROS);
    // The player, while the Apply below waits: sent messages are answered only if the wait answers them.
    std::thread player([window = ui->window(), close = ui->item(IDOK)] {
        DWORD_PTR ignored = 0;
        const bool answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerMs, &ignored) != 0;
        EXPECT_TRUE(answered) << "the window does not answer while Apply waits";
        if (!answered)
            SetEvent(driverMayAnswer.get());   // the wait ends, and with it the test
        EXPECT_TRUE(SetWindowPos(window, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
        RECT moved{};
        GetWindowRect(window, &moved);
        EXPECT_EQ(moved.left, 40);
        PostMessageW(close, BM_CLICK, 0, 0);
    });
    const ULONGLONG applying = GetTickCount64();
    ui->Click(IDC_APPLY);
    player.join();
    EXPECT_LT(GetTickCount64() - applying, 2 * kAnswerMs);
    EXPECT_EQ(ui->quitCode(), 1) << "Close ends the dialog once Apply is done";
    EXPECT_EQ(game.config(), kSaved + kMacrosLine);   // what did not wait landed
    SetEvent(driverMayAnswer.get());
}

TEST_F(ApplyRestoreTest, RestoreBringsBackTheBackupWhileTheNetworkKeepsItsAppliedState)
{
    Start();
    ui->Apply({IDC_NETWORK_LATENCY, IDC_SYNC_CONFIG, IDC_SYNC_MACROS});
    ASSERT_NE(game.config(), kPlayerConfig);

    ui->Click(IDC_RESTORE_CONFIG);
    EXPECT_EQ(game.config(), kPlayerConfig);
    EXPECT_EQ(ReadBytes(game.backupPath()), kPlayerConfig);
    EXPECT_FALSE(ui->IsEnabled(IDC_RESTORE_CONFIG));
    EXPECT_EQ(ui->currentOptions(), kOptionNetworkLatency | kOptionSyncConfig);
    EXPECT_EQ(ui->appliedOptions(), ui->currentOptions());
    for (const int id : {IDC_NETWORK_LATENCY, IDC_SYNC_CONFIG, IDC_SYNC_MACROS})
        EXPECT_EQ(ui->IsChecked(id), id != IDC_SYNC_MACROS) << "checkbox " << id;
    EXPECT_TRUE(test::InterfaceAcksEverySegment(L"{A}"));
}

TEST_F(ApplyRestoreTest, RestoreWithoutABackupLeavesTheFileAndSaysSo)
{
    Start();
    ui->Apply({IDC_SYNC_MACROS});
    const std::string applied = game.config();
    DeleteFileW(game.backupPath().c_str());
    ui->Click(IDC_RESTORE_CONFIG);
    EXPECT_EQ(game.config(), applied);
    EXPECT_EQ(ui->Text(IDC_NOTE), std::wstring(kRestoreFailedNote) + test::kRestoreBackupGone);
    EXPECT_EQ(ui->currentOptions(), kOptionSyncConfig | kOptionSyncMacros);
    EXPECT_TRUE(ui->IsEnabled(IDC_RESTORE_CONFIG));   // another try, once the backup is back
}

// A restore click that another program sends while the button is disabled.
void SendRestoreClick(const DialogHarness& ui)
{
    SendMessageW(ui.window(), WM_COMMAND, MAKEWPARAM(IDC_RESTORE_CONFIG, BN_CLICKED),
                 reinterpret_cast<LPARAM>(ui.item(IDC_RESTORE_CONFIG)));
}

TEST_F(ApplyRestoreTest, AConfigCreatedByTheRunHasNoBackupToRestoreAndAnOlderOneIsNeverCopied)
{
    TempGameFolder fresh;
    constexpr char kOlderBackup[] = "SET locale \"frFR\"\r\n";
    test::WriteBytes(fresh.backupPath(), kOlderBackup);
    test::SetInstallPath(fresh.folder());
    Start();
    ui->Apply({IDC_SYNC_MACROS});
    EXPECT_EQ(fresh.config(), "SET synchronizeMacros \"0\"\r\n");
    EXPECT_FALSE(ui->IsEnabled(IDC_RESTORE_CONFIG));
    EXPECT_TRUE(ui->IsChecked(IDC_BACKUP_CONFIG));   // nothing was there to keep; what is there now is kept next
    SendRestoreClick(*ui);
    EXPECT_EQ(fresh.config(), "SET synchronizeMacros \"0\"\r\n");
    EXPECT_EQ(ReadBytes(fresh.backupPath()), kOlderBackup);
}

TEST_F(ApplyRestoreTest, EachFolderOfARunIsBackedUpBeforeItChangesAndRestoresItsOwnBackup)
{
    TempGameFolder other("SET locale \"deDE\"\r\n");
    Start();
    ui->Apply({IDC_SYNC_MACROS});   // the first folder's backup
    ui->SetText(IDC_GAME_PATH, other.folder());
    EXPECT_TRUE(ui->IsChecked(IDC_BACKUP_CONFIG));
    EXPECT_FALSE(ui->IsEnabled(IDC_RESTORE_CONFIG));
    ui->Apply({IDC_SYNC_BINDINGS});
    EXPECT_EQ(ReadBytes(other.backupPath()), "SET locale \"deDE\"\r\n");
    EXPECT_EQ(other.config(), "SET locale \"deDE\"\r\nSET synchronizeBindings \"0\"\r\n");

    ui->SetText(IDC_GAME_PATH, game.folder());
    EXPECT_FALSE(ui->IsChecked(IDC_BACKUP_CONFIG));
    ui->Click(IDC_RESTORE_CONFIG);
    EXPECT_EQ(game.config(), kPlayerConfig);
    EXPECT_FALSE(ui->IsEnabled(IDC_RESTORE_CONFIG));
    test::WriteBytes(game.configPath(), "changed since");
    SendRestoreClick(*ui);   // disabled after the restore: a sent click copies nothing
    EXPECT_EQ(game.config(), "changed since");
    ui->SetText(IDC_GAME_PATH, other.folder());
    ui->Click(IDC_RESTORE_CONFIG);
    EXPECT_EQ(other.config(), "SET locale \"deDE\"\r\n");
    EXPECT_EQ(ReadBytes(game.backupPath()), kPlayerConfig);
}

TEST_F(ApplyRestoreTest, NothingIsChangedUntilTheBackupCouldBeTakenAndThenThePendingOptionIsWritten)
{
    const test::Obstacle obstacles[] = {
        {"a folder where the backup goes", [this] { return test::FolderInTheWay(game.backupPath()); },
         kApplyFailedNote},
        {"config.wtf held open without sharing", [this] { return test::ConfigHeldOpen(game, 0); }, test::kInUseNote},
    };
    for (const test::Obstacle& obstacle : obstacles) {
        test::WriteBytes(game.configPath(), kPlayerConfig);
        DeleteFileW(game.backupPath().c_str());
        Start();
        // The backup, copied from config.wtf as the change lands, shows that the refusal left the file as it was.
        test::RefuseThenLand(*ui, game.configPath(), obstacle, {IDC_SYNC_MACROS},
                             {kSaved + kMacrosLine, kPlayerConfig, [this](bool landed) {
                                  EXPECT_EQ(ui->appliedOptions(), kOptionSyncConfig | (landed ? kOptionSyncMacros : 0));
                                  EXPECT_TRUE(ui->IsChecked(IDC_SYNC_MACROS));
                                  EXPECT_NE(ui->IsChecked(IDC_BACKUP_CONFIG), landed);   // due until it is taken
                                  EXPECT_EQ(ui->IsEnabled(IDC_RESTORE_CONFIG), landed);
                              }});
        ui.reset();
    }
}

TEST_F(ApplyRestoreTest, AnApplyThatChangesNothingInConfigKeepsTheEarlierBackupByteForByte)
{
    constexpr char kEarlierBackup[] = "SET locale \"frFR\"\r\n";
    test::TempFolder outside(L"kelvane-outside");
    const std::wstring secret = outside / L"secret.wtf";
    struct Refusal { test::Obstacle obstacle; int option; };
    const Refusal refusals[] = {
        {{"a read-only config.wtf", [this] { return test::ReadOnlyConfig(game); }, test::kReadOnlyNote},
         IDC_SYNC_MACROS},
        {{"config.wtf held open by the game", [this] { return test::ConfigHeldOpen(game, FILE_SHARE_READ); },
          test::kInUseNote}, IDC_SYNC_MACROS},
        {{"no display-memory figure",
          [] {
              MainDialog::videoMemoryQuery = [] { return std::optional<std::uint32_t>(); };
              return test::Removal([] { MainDialog::videoMemoryQuery = &Adapter256MiB; });
          },
          test::kNoVideoMemoryNote}, IDC_TEXTURE_CACHE},
        {{"a link in place of config.wtf", [&] { return test::ConfigLinkedTo(game, secret); }, test::kLinkNote},
         IDC_SYNC_MACROS},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.obstacle.what);
        test::WriteBytes(game.configPath(), kPlayerConfig);
        test::WriteBytes(game.backupPath(), kEarlierBackup);
        const test::Removal remove = refusal.obstacle.put();
        Start();
        test::ExpectRefused(*ui, {refusal.option}, refusal.obstacle.note);
        EXPECT_EQ(ReadBytes(game.backupPath()), kEarlierBackup);
        EXPECT_EQ(ReadBytes(game.configPath()), kPlayerConfig);
        EXPECT_FALSE(ui->IsEnabled(IDC_RESTORE_CONFIG));
        ui.reset();
        remove();
    }
}

TEST_F(ApplyRestoreTest, RestoreRefusesALinkInPlaceOfTheBackupAndSaysSo)
{
    test::TempFolder outside(L"kelvane-outside");
    const std::wstring secret = outside / L"secret.wtf";
    test::WriteBytes(secret, "SET secret \"for administrators only\"\r\n");
    Start();
    ui->Apply({IDC_SYNC_MACROS});
    const std::string applied = game.config();
    ASSERT_TRUE(DeleteFileW(game.backupPath().c_str()));
    ASSERT_TRUE(test::MakeFileLink(game.backupPath(), secret));
    ui->Click(IDC_RESTORE_CONFIG);
    EXPECT_EQ(game.config(), applied);
    EXPECT_EQ(ui->Text(IDC_NOTE), std::wstring(kRestoreFailedNote) + test::kRestoreLink);
    EXPECT_EQ(ReadBytes(secret), "SET secret \"for administrators only\"\r\n");
}

TEST_F(ApplyRestoreTest, AnotherFolderShowsItsOwnSettingsAndGetsWhatDiffersFromThem)
{
    Start();
    TempGameFolder other("SET locale \"deDE\"\r\nSET synchronizeMacros \"0\"\r\n");
    ui->Click(IDC_NETWORK_LATENCY);
    ui->SetText(IDC_GAME_PATH, other.folder());
    EXPECT_EQ(ui->configPath(), other.configPath());
    EXPECT_EQ(ui->currentOptions(), kOptionNetworkLatency | kOptionSyncMacros);
    EXPECT_EQ(ui->appliedOptions(), kOptionSyncMacros);   // the network choice stays pending
    EXPECT_TRUE(ui->IsChecked(IDC_SYNC_MACROS));
    EXPECT_TRUE(ui->IsEnabled(IDC_REVERT));
    EXPECT_EQ(ui->Text(IDC_NOTE), test::kWindowsNote);
    ui->Apply({IDC_SYNC_BINDINGS});
    EXPECT_EQ(other.config(), "SET locale \"deDE\"\r\nSET synchronizeMacros \"0\"\r\nSET synchronizeBindings \"0\"\r\n");
    EXPECT_EQ(ReadBytes(other.backupPath()), "SET locale \"deDE\"\r\nSET synchronizeMacros \"0\"\r\n");
    EXPECT_EQ(game.config(), kPlayerConfig);
    EXPECT_FALSE(test::FileExists(game.backupPath()));
}

TEST_F(ApplyRestoreTest, OneFolderUnderASecondNameIsOneFile)
{
    test::TempFolder names;
    const std::wstring second = names / L"second";
    ASSERT_TRUE(test::MakeFolderLink(second, game.folder()));
    Start();
    ui->Apply({IDC_SYNC_MACROS});
    ui->SetText(IDC_GAME_PATH, second);
    EXPECT_FALSE(ui->IsChecked(IDC_BACKUP_CONFIG));
    EXPECT_TRUE(ui->IsEnabled(IDC_RESTORE_CONFIG));
    ui->Apply({IDC_SYNC_BINDINGS});
    EXPECT_EQ(ReadBytes(game.backupPath()), kPlayerConfig);   // the first backup survives
    ui->Click(IDC_RESTORE_CONFIG);
    EXPECT_EQ(game.config(), kPlayerConfig);
}

TEST_F(ApplyRestoreTest, TypingRebuildsTheConfigPathAtEveryCharacterAndAnEmptyEditDisablesApply)
{
    Start();
    const HWND edit = ui->item(IDC_GAME_PATH);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CLEAR, 0, 0);
    ui->Pump();
    EXPECT_FALSE(ui->IsEnabled(IDC_APPLY));
    EXPECT_EQ(ui->configPath(), L"\\WTF\\config.wtf");
    std::wstring typed;
    for (const wchar_t c : std::wstring(L"D:\\WoW")) {
        SendMessageW(edit, WM_CHAR, c, 1);
        typed.push_back(c);
        EXPECT_EQ(ui->configPath(), typed + L"\\WTF\\config.wtf");
        EXPECT_TRUE(ui->IsEnabled(IDC_APPLY));
    }
    for (int i = 0; i < 300; ++i)   // a folder longer than any config.wtf path Windows accepts is refused
        SendMessageW(edit, WM_CHAR, L'a', 1);
    EXPECT_EQ(ui->Text(IDC_GAME_PATH).size(), 244u);   // 259 characters less "\\WTF\\config.wtf"
    ui->SetText(IDC_GAME_PATH, L"C:\\");
    EXPECT_EQ(ui->configPath(), L"C:\\\\WTF\\config.wtf");   // a drive root: two backslashes before WTF
    ui->SetText(IDC_GAME_PATH, L" \"C:\\Games\" ");
    EXPECT_EQ(ui->configPath(), L" \"C:\\Games\" \\WTF\\config.wtf");   // typed text is used as typed
}

class NoGameFolderTest : public ::testing::Test {
protected:
    test::ScratchRegistry registry;
};

TEST_F(NoGameFolderTest, ApplyWithAnEmptyPathStillWritesTheNetworkOption)
{
    test::SetNetworkInterface(L"{A}", false);
    DialogHarness ui;
    ASSERT_EQ(ui.browsersCancelled(), 1);
    ASSERT_EQ(ui.configPath(), L"");
    ui.Apply({IDC_NETWORK_LATENCY, IDC_SYNC_MACROS});
    EXPECT_TRUE(test::InterfaceAcksEverySegment(L"{A}"));
    EXPECT_FALSE(ui.IsEnabled(IDC_RESTORE_CONFIG));   // no config.wtf, no backup of this run
    EXPECT_EQ(ui.appliedOptions(), kOptionNetworkLatency);   // macros waits for a folder
    EXPECT_EQ(ui.Text(IDC_NOTE), test::kNoGameFolderNote);
}

}  // namespace
}  // namespace kelvane
