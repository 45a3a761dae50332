// The "Powered by Vantorin" link as the dialog sets it up, opened with the keyboard through the dialog manager.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/desktop_shell.h"
#include "app/resources/resource.h"
#include "tests/link/link_fixture.h"
#include "tests/support/dialog_harness.h"
#include "tests/support/files.h"

namespace kelvane {
namespace {

using test::FakeShell;

class PoweredByLinkTest : public test::DialogTest {
protected:
    PoweredByLinkTest() { Start(); }
    ~PoweredByLinkTest() override { ui.reset(); }   // the dialog goes before the shell it was given

    FakeShell shell;   // an unelevated token, so this process's shell opens, and is recorded
};

TEST_F(PoweredByLinkTest, ShowsTheLabelAndOpensTheHomePageWithEnterWithoutClosingTheDialog)
{
    const HWND link = ui->item(IDC_POWERED_BY);
    EXPECT_EQ(ui->Text(IDC_POWERED_BY), L"Powered by Vantorin");
    SetFocus(link);
    ui->PressKey(VK_RETURN);
    EXPECT_EQ(ui->quitCode(), -1) << "Enter on the link must not press Close, the default button";
    ASSERT_TRUE(IsWindow(ui->window()));
    ASSERT_EQ(FakeShell::calls.size(), 1u);
    EXPECT_EQ(FakeShell::calls[0].verb + L" " + FakeShell::calls[0].file, L"open https://vantorin.example/");
    ui->PressKey(VK_SPACE);
    EXPECT_EQ(FakeShell::calls.size(), 2u);
}

TEST_F(PoweredByLinkTest, EnterElsewhereStillPressesTheDefaultButton)
{
    SetFocus(ui->item(IDC_SYNC_CONFIG));
    ui->PressKey(VK_RETURN);
    EXPECT_TRUE(FakeShell::calls.empty());
    EXPECT_NE(ui->quitCode(), -1) << "the dialog's own keyboard interface is unchanged";
}

// The real open, chosen by the real token and desktop: under Wine, this process's own shell, every time. The browser
// is a stand-in registered for https in a redirected HKEY_CLASSES_ROOT, which records the address it was given.
using RealLinkOpenTest = test::DialogTest;
TEST_F(RealLinkOpenTest, EnterStartsTheBrowserRegisteredForHttpsEveryTime)
{
    if (BrowserElevationType() == TokenElevationTypeFull)
        GTEST_SKIP() << "under UAC the browser comes from Explorer, whose registry a test cannot redirect";
    UniqueKey classes;   // inside the scratch HKEY_CURRENT_USER, so it goes with it
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Classes", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, classes.put(),
                              nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, classes.get()), ERROR_SUCCESS);
    const struct Restore { ~Restore() { RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr); } } restore;
    const std::wstring record = game.folder() + L"\\opened.txt";
    test::ScratchRegistry::SetString(HKEY_CLASSES_ROOT, L"https\\shell\\open\\command", nullptr,
                                     L"cmd.exe /c echo %1>>\"" + record + L"\"");
    Start();
    std::string expected;
    for (int press = 1; press <= 3; ++press) {   // each waits for its browser, so no two write the record at once
        SetFocus(ui->item(IDC_POWERED_BY));
        ui->PressKey(VK_RETURN);
        expected += "https://vantorin.example/\r\n";
        for (int waited = 0; waited < 200 && test::ReadBytes(record) != expected; ++waited)
            Sleep(100);
        ASSERT_EQ(test::ReadBytes(record), expected) << "press " << press;
    }
}

}  // namespace
}  // namespace kelvane
