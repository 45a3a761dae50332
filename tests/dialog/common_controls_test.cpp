// The embedded manifest puts the dialog on common controls 6; the behaviour tests in this program and in the link
// tests therefore run against version 6 controls, as the product does.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/resources/resource.h"
#include "tests/support/dialog_harness.h"

namespace kelvane {
namespace {

using CommonControlsTest = test::DialogTest;

TEST_F(CommonControlsTest, TheDialogsButtonsAreVersion6Controls)
{
    Start();
    // Only the version 6 button answers BCM_GETIDEALSIZE; user32's own button ignores it.
    SIZE ideal{};
    EXPECT_TRUE(SendMessageW(ui->item(IDC_APPLY), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    EXPECT_GT(ideal.cx, 0);
    SIZE checkbox{};
    EXPECT_TRUE(SendMessageW(ui->item(IDC_SYNC_MACROS), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&checkbox)));
}

}  // namespace
}  // namespace kelvane
