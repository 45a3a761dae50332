// Every note the dialog can show fits the two lines of its box, drawn with the box's own font and width, at 96 dpi
// and with font and box scaled to 144 dpi.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/failure_notes.h"
#include "app/resources/resource.h"
#include "common/unique_handle.h"
#include "tests/support/dialog_harness.h"
#include "tests/support/notes.h"
#include "tests/support/scratch_registry.h"

namespace kelvane {
namespace {

constexpr int kBaseDpi = 96;
constexpr int kLinesInTheBox = 2;

// The dialog's horizontal base unit for a font, as Windows works it out for a dialog: boxes scale with it.
int HorizontalBaseUnit(HDC dc)
{
    constexpr wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size{};
    GetTextExtentPoint32W(dc, kAlphabet, 52, &size);
    return (size.cx / 26 + 1) / 2;
}

// Every note: each failure of Apply and of restore, for every value a cause can take, so a cause added later is
// measured too; and the notes of the dialog itself.
std::set<std::wstring> EveryNote()
{
    std::set<std::wstring> notes = {test::kWindowsNote, test::kGameNote, test::kGameRunningNote,
                                       test::kRestoredNote};
    for (int value = 0; value <= 0xFF; ++value) {
        const auto cause = static_cast<FailureCause>(value);
        notes.insert(ApplyFailureNote(cause));
        notes.insert(RestoreFailureNote(cause));
    }
    return notes;
}

TEST(NoteWidthTest, EveryNoteFitsTwoLinesOfItsBoxAt96And144Dpi)
{
    test::ScratchRegistry registry;
    test::DialogHarness ui;
    const HWND box = ui.item(IDC_NOTE);
    RECT format{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)), sizeof(font), &font));
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    int baseUnitAt96 = 0;
    for (const int dpi : {kBaseDpi, 144}) {
        LOGFONTW scaled = font;
        scaled.lfHeight = MulDiv(font.lfHeight, dpi, kBaseDpi);
        const UniqueGdiObject drawn(CreateFontIndirectW(&scaled));
        SelectObject(dc.get(), drawn.get());
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc.get(), &metrics);
        const int baseUnit = HorizontalBaseUnit(dc.get());
        if (dpi == kBaseDpi)
            baseUnitAt96 = baseUnit;
        const int width = MulDiv(format.right - format.left, baseUnit, baseUnitAt96);
        for (const std::wstring& note : EveryNote()) {
            RECT rect{0, 0, width, 0};
            DrawTextW(dc.get(), note.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
            EXPECT_LE(rect.bottom / metrics.tmHeight, kLinesInTheBox)
                << dpi << " dpi, " << width << " pixels wide: " << testing::PrintToString(note);
        }
        SelectObject(dc.get(), GetStockObject(SYSTEM_FONT));
    }
}

}  // namespace
}  // namespace kelvane
