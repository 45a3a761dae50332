// The resources built into the program: the dialog template as the layout table gives it, the icons and the
// version record. Read back from the linked resources, not from the .rc script.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/resources/resource.h"

namespace kelvane {
namespace {

// A cursor over the variable-length records of a DLGTEMPLATEEX.
class TemplateReader {
public:
    TemplateReader(const BYTE* data, size_t size) : p_(data), end_(data + size) {}
    WORD Word() { WORD w; std::memcpy(&w, Take(2), 2); return w; }
    DWORD Dword() { DWORD d; std::memcpy(&d, Take(4), 4); return d; }
    short Short() { return static_cast<short>(Word()); }
    // A string, an ordinal (0xFFFF then a number, given back as "#n") or nothing (a single 0).
    std::wstring SzOrOrd()
    {
        WORD first = Word();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Word());
        std::wstring text;
        while (first) {
            text.push_back(static_cast<wchar_t>(first));
            first = Word();
        }
        return text;
    }
    void AlignDword(const BYTE* base) { while ((p_ - base) % 4) ++p_; }
    const BYTE* at() const { return p_; }
    void Skip(size_t n) { Take(n); }

private:
    const BYTE* Take(size_t n)
    {
        if (p_ + n > end_)
            throw std::out_of_range("template ends early");
        const BYTE* at = p_;
        p_ += n;
        return at;
    }
    const BYTE* p_;
    const BYTE* end_;
};

struct Control {
    int id;
    std::wstring className;
    std::wstring text;
    DWORD style;
    short x, y, cx, cy;
};

TEST(ResourcesTest, TheDialogTemplateIsExactlyTheLayoutTable)
{
    const HMODULE self = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceExW(self, MAKEINTRESOURCEW(5) /* RT_DIALOG */, MAKEINTRESOURCEW(IDD_MAINDLG),
                                        MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_TRUE(found) << "dialog 129 in language 1033";
    const auto* base = static_cast<const BYTE*>(LockResource(LoadResource(self, found)));
    TemplateReader r(base, SizeofResource(self, found));

    EXPECT_EQ(r.Word(), 1);        // dlgVer
    EXPECT_EQ(r.Word(), 0xFFFF);   // signature: DIALOGEX
    r.Dword();                     // helpID
    EXPECT_EQ(r.Dword(), 0u);      // exStyle
    EXPECT_EQ(r.Dword(), 0x00CA0048u);
    const WORD count = r.Word();
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 245);
    EXPECT_EQ(r.Short(), 230);
    EXPECT_EQ(r.SzOrOrd(), L"");   // no menu
    EXPECT_EQ(r.SzOrOrd(), L"");   // no class
    EXPECT_EQ(r.SzOrOrd(), L"Vantorin Kelvane v1.0");
    EXPECT_EQ(r.Word(), 8);        // point size
    EXPECT_EQ(r.Word(), 400);      // weight
    EXPECT_EQ(r.Word() & 0xFF, 0); // italic (low byte), character set (high byte)
    r.Skip(0);
    EXPECT_EQ(r.SzOrOrd(), L"MS Shell Dlg");

    const std::vector<Control> expected = {
        {-1, L"#128", L"Network", 0x50000007, 6, 40, 233, 29},
        {-1, L"#128", L"Video", 0x50000007, 6, 73, 233, 28},
        {-1, L"#128", L"Synchronizing", 0x50000007, 6, 105, 233, 56},
        {1005, L"#128", L"Optimize network latency (suggested)", 0x50010003, 13, 53, 157, 8},
        {1006, L"#128", L"Optimize texture cache size (suggested)", 0x50010003, 13, 85, 152, 8},
        {1010, L"#128", L"Disable configs synchronizing", 0x50010003, 13, 118, 138, 8},
        {1011, L"#128", L"Disable macro synchronizing", 0x50010003, 13, 131, 153, 8},
        {1009, L"#128", L"Disable bindings synchronizing", 0x50010003, 13, 144, 150, 8},
        {1014, L"#129", L"", 0x50010805, 6, 181, 233, 16},
        {1002, L"#128", L"&Apply", 0x50010001, 111, 202, 40, 14},
        {1001, L"#128", L"&Revert", 0x58010000, 155, 202, 40, 14},
        {1, L"#128", L"&Close", 0x50010001, 199, 202, 40, 14},
        {1015, L"#129", L"", 0x50810080, 12, 17, 180, 12},
        {1016, L"#128", L"Browse", 0x50010000, 197, 16, 36, 14},
        {-1, L"#128", L"WOW Path", 0x50000007, 6, 6, 233, 30},
        {1017, L"#128", L"backup config.wtf", 0x48010003, 162, 163, 71, 8},
        {1018, L"#128", L"restore config.wtf", 0x58010000, 6, 202, 68, 14},
        {1019, L"#130", L"Powered by Vantorin", 0x50020000, 171, 219, 71, 8},
    };
    ASSERT_EQ(count, expected.size());
    for (const Control& want : expected) {
        r.AlignDword(base);
        r.Dword();                          // helpID
        EXPECT_EQ(r.Dword(), 0u);           // exStyle
        const DWORD style = r.Dword();
        const short x = r.Short(), y = r.Short(), cx = r.Short(), cy = r.Short();
        const int id = static_cast<int>(r.Dword());
        // Classes may be stored as predefined ordinals (0x80 Button, 0x81 Edit, 0x82 Static) or by name.
        std::wstring className = r.SzOrOrd();
        if (className == L"Button" || className == L"BUTTON") className = L"#128";
        if (className == L"Edit" || className == L"EDIT") className = L"#129";
        if (className == L"Static" || className == L"STATIC") className = L"#130";
        const std::wstring text = r.SzOrOrd();
        const WORD extra = r.Word();
        r.Skip(extra);
        SCOPED_TRACE(std::string(want.text.begin(), want.text.end()));
        EXPECT_EQ(id, want.id);
        EXPECT_EQ(className, want.className);
        EXPECT_EQ(text, want.text);
        EXPECT_EQ(style, want.style);
        EXPECT_EQ(x, want.x);
        EXPECT_EQ(y, want.y);
        EXPECT_EQ(cx, want.cx);
        EXPECT_EQ(cy, want.cy);
    }
}

TEST(ResourcesTest, TheIconGroupHoldsA32AndA16PixelImageOf16Colours)
{
    const HMODULE self = GetModuleHandleW(nullptr);
    const HRSRC group = FindResourceW(self, MAKEINTRESOURCEW(IDI_MAINFRAME), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
    ASSERT_TRUE(group);
    const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
    WORD count;
    std::memcpy(&count, dir + 4, 2);
    ASSERT_EQ(count, 2);
    std::vector<std::pair<int, int>> images;
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = dir + 6 + 14 * i;   // GRPICONDIRENTRY
        WORD bitCount;
        std::memcpy(&bitCount, entry + 6, 2);
        images.push_back({entry[0], bitCount});
        EXPECT_EQ(entry[2], 16) << "colour count";
    }
    EXPECT_EQ(images, (std::vector<std::pair<int, int>>{{32, 4}, {16, 4}}));
}

TEST(ResourcesTest, TheVersionRecordGivesTheProjectVersionInEnglish)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(self, &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(self, 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    // The release's version, "major.minor.patch.tweak", as the build wrote it for the zips' names.
    unsigned major = 0, minor = 0, patch = 0, tweak = 0;
    ASSERT_EQ(std::sscanf(KELVANE_RELEASED_VERSION, "%u.%u.%u.%u", &major, &minor, &patch, &tweak), 4);
    const DWORD high = MAKELONG(minor, major);
    const DWORD low = MAKELONG(tweak, patch);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    // The texts spell the same four numbers, each after a comma and a space but the first.
    const std::wstring versionText = std::to_wstring(major) + L", " + std::to_wstring(minor) + L", " +
                                     std::to_wstring(patch) + L", " + std::to_wstring(tweak);
    const std::pair<const wchar_t*, std::wstring> texts[] = {
        {L"FileVersion", versionText}, {L"ProductVersion", versionText}, {L"ProductName", L"Vantorin Kelvane"}};
    for (const auto& [name, expected] : texts) {
        wchar_t* text = nullptr;
        ASSERT_TRUE(VerQueryValueW(block.data(), (std::wstring(L"\\StringFileInfo\\040904b0\\") + name).c_str(),
                                   reinterpret_cast<void**>(&text), &size)) << name;
        EXPECT_EQ(std::wstring(text), expected) << name;
    }
}

}  // namespace
}  // namespace kelvane
