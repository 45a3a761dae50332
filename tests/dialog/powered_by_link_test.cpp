// The "Powered by Vantorin" link as the dialog sets it up, opened with the keyboard through the dialog manager.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/resources/resource.h"
#include "tests/link/link_fixture.h"
#include "tests/support/dialog_harness.h"

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

}  // namespace
}  // namespace kelvane
