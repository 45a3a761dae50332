// The "Powered by Vantorin" link as the dialog sets it up, opened with the keyboard through the dialog manager.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "app/desktop_shell.h"
#include "app/hyperlink_control.h"
#include "app/resources/resource.h"
#include "tests/support/dialog_harness.h"
#include "tests/support/scratch_registry.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

std::vector<std::wstring> opened;

HINSTANCE WINAPI RecordOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*, int)
{
    opened.push_back(std::wstring(verb) + L" " + file);
    return reinterpret_cast<HINSTANCE>(33);
}
HRESULT NoDesktopShell(const wchar_t*) { return E_NOINTERFACE; }   // so the recorded fallback opens the link

class PoweredByLinkTest : public ::testing::Test {
protected:
    PoweredByLinkTest()
    {
        opened.clear();
        HyperLinkControl::shellExecute = &RecordOpen;
        HyperLinkControl::desktopOpen = &NoDesktopShell;
        test::SetInstallPath(game.folder());
        ui = std::make_unique<test::DialogHarness>();
    }
    ~PoweredByLinkTest() override
    {
        HyperLinkControl::shellExecute = &ShellExecuteW;
        HyperLinkControl::desktopOpen = &OpenThroughDesktopShell;
    }

    // A key press as the loop delivers it: through the dialog's filter first.
    void Press(HWND target, UINT key)
    {
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, 0xC0000001);
        ui->Pump();
    }

    test::ScratchRegistry registry;
    test::TempGameFolder game;
    std::unique_ptr<test::DialogHarness> ui;
};

TEST_F(PoweredByLinkTest, ShowsTheLabelAndOpensTheHomePageWithEnterWithoutClosingTheDialog)
{
    const HWND link = ui->item(IDC_POWERED_BY);
    EXPECT_EQ(ui->Text(IDC_POWERED_BY), L"Powered by Vantorin");
    SetFocus(link);
    Press(link, VK_RETURN);
    EXPECT_EQ(ui->quitCode(), -1) << "Enter on the link must not press Close, the default button";
    ASSERT_TRUE(IsWindow(ui->window()));
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"open https://vantorin.example/"}));
    Press(link, VK_SPACE);
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(PoweredByLinkTest, EnterElsewhereStillPressesTheDefaultButton)
{
    SetFocus(ui->item(IDC_SYNC_CONFIG));
    Press(ui->item(IDC_SYNC_CONFIG), VK_RETURN);
    EXPECT_TRUE(opened.empty());
    EXPECT_NE(ui->quitCode(), -1) << "the dialog's own keyboard interface is unchanged";
}

}  // namespace
}  // namespace kelvane
