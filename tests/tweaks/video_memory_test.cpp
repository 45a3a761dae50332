// QueryVideoMemory against the real DirectDraw of the machine (under Wine: its pinned 256 MiB adapter).
#include <windows.h>
#include <gtest/gtest.h>

#include "config/config_edit_batch.h"
#include "tests/support/temp_folder.h"
#include "tweaks/texture_cache.h"

namespace kelvane {
namespace {

// Wine reports its configured VideoMemorySize (256 MiB in the test prefix) less the 1024x768x32 primary surface.
constexpr std::uint32_t kWinePinnedTotal = 256u * 1024 * 1024 - 1024u * 768 * 4;

bool ScreenIs1024x768()
{
    return GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768;
}

// No scratch registry here: it would hide Wine's Direct3D settings under HKEY_CURRENT_USER from DirectDraw.
TEST(VideoMemoryTest, DirectDrawReportsTheDisplayMemory)
{
    const std::optional<std::uint32_t> total = QueryVideoMemory();
    ASSERT_TRUE(total.has_value());
    if (test::RunningUnderWine() && ScreenIs1024x768())
        EXPECT_EQ(*total, kWinePinnedTotal);
    else
        EXPECT_NE(*total, 0u);
    // The adapter does not change between two questions.
    EXPECT_EQ(QueryVideoMemory(), total);
}

TEST(VideoMemoryTest, TheTweakWritesHalfOfTheRealFigure)
{
    const std::optional<std::uint32_t> total = QueryVideoMemory();
    ASSERT_TRUE(total.has_value());
    test::TempGameFolder game("SET gxWindow \"1\"\r\n");
    ConfigEditBatch batch(game.configPath());
    OptionMask mask = kOptionTextureCache;
    EXPECT_TRUE(
        batch.Edit([&](GameConfigFile& doc) { return TextureCacheTweak(mask, doc, kWrite, &QueryVideoMemory); }));
    EXPECT_TRUE(batch.Save());
    EXPECT_EQ(game.config(), "SET gxWindow \"1\"\r\nSET textureCacheSize \"" + std::to_string(*total / 2) + "\"\r\n");
}

}  // namespace
}  // namespace kelvane
