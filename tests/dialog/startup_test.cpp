// Start-up: the game folder from the registry, or the folder browser; the options as the system has them.
#include <gtest/gtest.h>

#include "app/game_folder.h"
#include "app/resources/resource.h"
#include "app/window_placement.h"
#include "tests/support/dialog_harness.h"
#include "tests/support/scratch_registry.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

using test::DialogHarness;
using test::ScratchRegistry;
using test::SetInstallPath;
using test::SetNetworkInterface;
using test::kGameKey;

TEST(InstallPathTest, QuotesBlanksAndDoubledBackslashesAreCleanedFromTheRegistryValue)
{
    EXPECT_EQ(NormalizeInstallPath(L"\"C:\\\\Games\\\\World of Warcraft\" "), L"C:\\Games\\World of Warcraft");
    EXPECT_EQ(NormalizeInstallPath(L"  \" C:\\Games\\WoW\\\" \""), L"C:\\Games\\WoW\\");
    EXPECT_EQ(NormalizeInstallPath(L"\\\\\\\\server"), L"\\\\server");   // four become two
    EXPECT_EQ(NormalizeInstallPath(L"\\\\\\"), L"\\\\");                 // three: one pair, then one left
    EXPECT_EQ(NormalizeInstallPath(L"\" \"\""), L"");
    EXPECT_EQ(NormalizeInstallPath(L"C:\\Program Files\\WoW"), L"C:\\Program Files\\WoW");
}

TEST(WindowPlacementTest, CentresOnTheReferenceAndStaysInsideTheWorkArea)
{
    const RECT work{0, 0, 1024, 738};
    EXPECT_EQ(CenteredPosition(401, 300, work, work).x, 512 - 200);
    EXPECT_EQ(CenteredPosition(401, 300, work, work).y, 369 - 150);
    const RECT farLeft{-900, 10, -500, 200};
    EXPECT_EQ(CenteredPosition(300, 100, farLeft, work).x, 0);
    const RECT farDown{100, 700, 200, 900};
    EXPECT_EQ(CenteredPosition(300, 100, farDown, work).y, 738 - 100);
    const RECT negative{-7, -7, 0, 0};   // (-7 + 0) / 2 truncates toward zero: -3
    EXPECT_EQ(CenteredPosition(2, 2, negative, RECT{-100, -100, 100, 100}).x, -3 - 1);
}

using StartupTest = test::DialogTest;   // its game folder installed until a test says otherwise

TEST_F(StartupTest, TheRegistryFolderIsCleanedShownAndItsOptionsRead)
{
    test::WriteBytes(game.configPath(), "SET textureCacheSize \"1024\"\r\nSET synchronizeMacros \"0\"\r\n"
                                        "SET synchronizeConfig \"1\"\r\nSET synchronizeBindings \"0\"\r\n");
    std::wstring doubled;
    for (const wchar_t c : game.folder()) {
        doubled.push_back(c);
        if (c == L'\\')
            doubled.push_back(c);
    }
    SetInstallPath(L"\"" + doubled + L"\" ");
    SetNetworkInterface(L"{A}", true);
    Start();

    EXPECT_EQ(ui->Text(IDC_GAME_PATH), game.folder());
    EXPECT_EQ(ui->configPath(), game.configPath());
    EXPECT_TRUE(ui->IsEnabled(IDC_APPLY));
    EXPECT_EQ(ui->browsersCancelled(), 0);
    const OptionMask expected = kOptionNetworkLatency | kOptionTextureCache | kOptionSyncMacros | kOptionSyncBindings;
    EXPECT_EQ(ui->currentOptions(), expected);
    EXPECT_EQ(ui->appliedOptions(), expected);
    for (const int id : {IDC_NETWORK_LATENCY, IDC_TEXTURE_CACHE, IDC_SYNC_MACROS, IDC_SYNC_BINDINGS, IDC_SYNC_CONFIG})
        EXPECT_EQ(ui->IsChecked(id), id != IDC_SYNC_CONFIG) << "checkbox " << id;
    EXPECT_FALSE(ui->IsEnabled(IDC_REVERT));
    EXPECT_FALSE(ui->IsEnabled(IDC_RESTORE_CONFIG));
    EXPECT_EQ(ui->Text(IDC_NOTE), L"");
    EXPECT_EQ(GetFocus(), ui->item(IDC_NETWORK_LATENCY));
}

TEST_F(StartupTest, AFolderEndingInABackslashKeepsItBeforeWtf)
{
    test::WriteBytes(game.configPath(), "SET synchronizeConfig \"0\"\r\n");
    SetInstallPath(game.folder() + L"\\");
    Start();
    EXPECT_EQ(ui->Text(IDC_GAME_PATH), game.folder() + L"\\");
    EXPECT_EQ(ui->configPath(), game.folder() + L"\\\\WTF\\config.wtf");
    EXPECT_EQ(ui->currentOptions(), kOptionSyncConfig);   // the file system accepts the doubled backslash
}

TEST_F(StartupTest, WithoutTheKeyThePathStaysEmptyTheBrowserOpensAndTheNetworkIsStillRead)
{
    ASSERT_EQ(RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kGameKey, KEY_WOW64_32KEY, 0), ERROR_SUCCESS);
    SetNetworkInterface(L"{A}", true);
    Start();
    EXPECT_EQ(ui->Text(IDC_GAME_PATH), L"");
    EXPECT_EQ(ui->configPath(), L"");
    EXPECT_EQ(ui->currentOptions(), kOptionNetworkLatency);
    EXPECT_TRUE(ui->IsChecked(IDC_NETWORK_LATENCY));
    EXPECT_EQ(ui->browsersCancelled(), 1);
    EXPECT_EQ(ui->Text(IDC_GAME_PATH), L"");   // a cancelled browse changes nothing
    EXPECT_TRUE(ui->IsEnabled(IDC_APPLY));     // the template's state until the edit first changes
}

TEST_F(StartupTest, AnInstallPathThatIsNoUsableStringIsTreatedAsMissing)
{
    const DWORD number = 1;
    const std::wstring tooLong(300, L'x');
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        if (variant == 0)
            ScratchRegistry::SetBytes(HKEY_LOCAL_MACHINE, kGameKey, L"InstallPath", REG_DWORD, &number, 4);
        if (variant == 1)
            SetInstallPath(tooLong);
        if (variant == 2) {
            UniqueKey key;
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, key.put());
            RegDeleteValueW(key.get(), L"InstallPath");
        }
        Start();
        EXPECT_EQ(ui->Text(IDC_GAME_PATH), L"");
        EXPECT_EQ(ui->browsersCancelled(), 1);
        ui.reset();
    }
}

}  // namespace
}  // namespace kelvane
