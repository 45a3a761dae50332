// One whole job against a given program file (KELVANE_EXE), so the release programs run the same checks as the
// test build: the 64-bit one under Wine and the 32-bit one under 32-bit Wine in an emulated machine. It seeds the
// machine's registry, so it runs only inside a private Wine prefix.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "app/resources/resource.h"
#include "tests/support/installed_game.h"
#include "tests/support/program_driver.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

using test::ReadBytes;
using test::RunningProgram;

// Bindings synchronizing is already off (its option on); the other settings must come through untouched.
constexpr char kPlayerConfig[] =
    "SET locale \"enUS\"\r\n"
    "SET synchronizeBindings \"0\"\r\n"
    "SET gxResolution \"1024x768\"\r\n";
constexpr char kMacrosLine[] = "SET synchronizeMacros \"0\"\r\n";

using CheckboxStates = std::pair<int, bool>[5];
constexpr CheckboxStates kSeeded = {{IDC_NETWORK_LATENCY, false}, {IDC_TEXTURE_CACHE, false},
                                    {IDC_SYNC_CONFIG, false},     {IDC_SYNC_MACROS, false},
                                    {IDC_SYNC_BINDINGS, true}};
// After Apply and restore config.wtf: the network value stays, the game file is the seeded one again.
constexpr CheckboxStates kRestored = {{IDC_NETWORK_LATENCY, true}, {IDC_TEXTURE_CACHE, false},
                                      {IDC_SYNC_CONFIG, false},    {IDC_SYNC_MACROS, false},
                                      {IDC_SYNC_BINDINGS, true}};

void ExpectCheckboxes(const RunningProgram& program, const CheckboxStates& states)
{
    for (const auto& [id, checked] : states)
        EXPECT_EQ(program.IsChecked(id), checked) << "checkbox " << id;
}

class SmokeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::RunningUnderWine())
            GTEST_SKIP() << "changes the machine's registry: runs only in a private Wine prefix";
        interfaces = std::make_unique<test::NetworkInterfaces>(std::vector<std::wstring>{
            L"{5E0E0000-CAFE-4000-8000-000000000001}", L"{5E0E0000-CAFE-4000-8000-000000000002}"});
        ASSERT_TRUE(interfaces->ok());
        installed = std::make_unique<test::InstalledGame>(game.folder());
        ASSERT_TRUE(installed->ok());
    }

    test::TempGameFolder game{kPlayerConfig};
    std::unique_ptr<test::NetworkInterfaces> interfaces;   // put back as they were when the test is done
    std::unique_ptr<test::InstalledGame> installed;
};

TEST_F(SmokeTest, AppliesRestoresAndEndsWithItsExitCodes)
{
    {
        RunningProgram program;
        ASSERT_TRUE(program.window()) << testing::PrintToString(test::ProgramPath());
        EXPECT_EQ(test::WindowTitle(program.window()), test::kProgramTitle);
        EXPECT_EQ(program.Text(IDC_GAME_PATH), game.folder());
        ExpectCheckboxes(program, kSeeded);

        program.Apply({IDC_SYNC_MACROS, IDC_NETWORK_LATENCY});
        EXPECT_TRUE(program.IsEnabled(IDC_RESTORE_CONFIG));
        EXPECT_EQ(game.config(), std::string(kPlayerConfig) + kMacrosLine);
        EXPECT_EQ(ReadBytes(game.backupPath()), kPlayerConfig);
        EXPECT_TRUE(interfaces->AllAre(true)) << "TcpAckFrequency 1 on both interfaces";

        program.Click(IDC_RESTORE_CONFIG);
        EXPECT_EQ(game.config(), kPlayerConfig);
        PostMessageW(program.item(IDOK), BM_CLICK, 0, 0);
        EXPECT_EQ(program.WaitForExit(), 1) << "Close";
    }
    RunningProgram again;
    ASSERT_TRUE(again.window());
    ExpectCheckboxes(again, kRestored);
    again.PressKey(VK_ESCAPE);
    EXPECT_EQ(again.WaitForExit(), 2) << "Escape";
}

}  // namespace
}  // namespace kelvane
