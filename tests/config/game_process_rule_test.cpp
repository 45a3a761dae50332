// Which process image is the game running from the game folder.
#include <gtest/gtest.h>

#include "config/game_process_rule.h"

namespace kelvane {
namespace {

TEST(GameProcessRule, OnlyAGameExecutableDirectlyInTheFolderCounts)
{
    struct Case {
        const wchar_t* image;
        bool counts;
    };
    const Case cases[] = {
        {L"C:\\Games\\World of Warcraft\\Wow.exe", true},
        {L"c:\\games\\WORLD OF WARCRAFT\\WOW-64.EXE", true},
        {L"C:\\Games\\World of Warcraft\\WowClassic.exe", true},
        {L"C:\\Games\\World of Warcraft\\WowT.exe", true},
        {L"C:\\Games\\World of Warcraft\\WowError.exe", false},   // the crash reporter
        {L"C:\\Games\\World of Warcraft\\WOWERROR.EXE", false},
        {L"C:\\Games\\World of Warcraft\\Wow.dll", false},
        {L"C:\\Games\\World of Warcraft\\Wow.exe.bak", false},
        {L"C:\\Games\\World of Warcraft\\Launcher.exe", false},
        {L"C:\\Games\\World of Warcraft\\.exe", false},
        {L"C:\\Games\\World of Warcraft\\Data\\Wow.exe", false},           // a sub-folder
        {L"C:\\Games\\World of Warcraft Classic\\Wow.exe", false},         // a sibling that shares the prefix
        {L"C:\\Games\\World of Warcraf\\Wow.exe", false},
        {L"C:\\Games\\Wow.exe", false},
        {L"Wow.exe", false},                                                // no folder at all
    };
    for (const wchar_t* folder : {L"C:\\Games\\World of Warcraft", L"C:\\Games\\World of Warcraft\\"}) {
        for (const Case& c : cases)
            EXPECT_EQ(IsGameProcessImage(c.image, folder), c.counts) << c.image << " in " << folder;
    }
}

TEST(GameProcessRule, ADriveRootAndNoFolder)
{
    EXPECT_TRUE(IsGameProcessImage(L"D:\\Wow.exe", L"D:\\"));
    EXPECT_FALSE(IsGameProcessImage(L"D:\\Wow.exe", L""));
    EXPECT_FALSE(IsGameProcessImage(L"\\Wow.exe", L""));
}

}  // namespace
}  // namespace kelvane
