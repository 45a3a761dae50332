// The batched save of the game-file options, failed and then landed, as the player sees it.
#include "tests/support/batched_apply.h"

#include <gtest/gtest.h>

#include "app/resources/resource.h"
#include "tests/support/files.h"
#include "tests/support/notes.h"

namespace kelvane::test {

void ExpectTheFourLandTogether(DialogHarness& ui, const std::wstring& configPath, const SaveObstacle& obstacle,
                               const std::string& expected)
{
    SCOPED_TRACE(obstacle.what);
    const std::string before = ReadBytes(configPath);
    const OptionMask applied = ui.appliedOptions();
    for (const int id : {IDC_TEXTURE_CACHE, IDC_SYNC_BINDINGS, IDC_SYNC_CONFIG, IDC_SYNC_MACROS})
        ui.Click(id);
    if (obstacle.put) {
        const std::function<void()> remove = obstacle.put();
        ui.Click(IDC_APPLY);
        EXPECT_EQ(ui.Text(IDC_NOTE), obstacle.note);
        EXPECT_EQ(ui.appliedOptions(), applied);
        EXPECT_TRUE(ui.IsEnabled(IDC_REVERT));
        EXPECT_EQ(ReadBytes(configPath), before);
        remove();
    }
    ui.Click(IDC_APPLY);
    EXPECT_EQ(ReadBytes(configPath), expected);
    EXPECT_EQ(ui.appliedOptions(), ui.currentOptions());
    EXPECT_EQ(ui.Text(IDC_NOTE), kGameNote);
}

}  // namespace kelvane::test
