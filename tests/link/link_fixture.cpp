// The link tests' shared helpers: the fake shell, the rendering into a readable bitmap, and the dialog fixture.
#include "tests/link/link_fixture.h"

#include <commctrl.h>

#include "app/resources/resource.h"
#include "common/unique_handle.h"

namespace kelvane::test {

std::vector<FakeShell::Call> FakeShell::calls;
INT_PTR FakeShell::answer = kShellSuccess;
void (*FakeShell::duringCall)() = nullptr;
std::vector<std::wstring> FakeShell::desktopCalls;
HRESULT FakeShell::desktopAnswer = E_NOINTERFACE;
TOKEN_ELEVATION_TYPE FakeShell::elevation = TokenElevationTypeDefault;

FakeShell::FakeShell()
    : saved_(HyperLinkControl::shellExecute),
      savedDesktop_(HyperLinkControl::desktopOpen),
      savedElevation_(HyperLinkControl::elevationType)
{
    calls.clear();
    answer = kShellSuccess;
    desktopCalls.clear();
    desktopAnswer = E_NOINTERFACE;
    elevation = TokenElevationTypeDefault;
    duringCall = nullptr;
    HyperLinkControl::shellExecute = &FakeShell::Execute;
    HyperLinkControl::desktopOpen = &FakeShell::OpenOnDesktop;
    HyperLinkControl::elevationType = &FakeShell::Elevation;
}

FakeShell::~FakeShell()
{
    HyperLinkControl::shellExecute = saved_;
    HyperLinkControl::desktopOpen = savedDesktop_;
    HyperLinkControl::elevationType = savedElevation_;
    duringCall = nullptr;
}

HRESULT FakeShell::OpenOnDesktop(const wchar_t* target)
{
    desktopCalls.push_back(target);
    return desktopAnswer;
}

HINSTANCE WINAPI FakeShell::Execute(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                                    const wchar_t* directory, int show)
{
    calls.push_back({owner, verb ? verb : L"<null>", file ? file : L"<null>", parameters != nullptr,
                     directory != nullptr, show});
    if (duringCall)
        duringCall();
    return reinterpret_cast<HINSTANCE>(answer);
}

int Image::Count(COLORREF color) const
{
    int count = 0;
    for (COLORREF pixel : pixels)
        count += pixel == color;
    return count;
}

int Image::CountOutside(const RECT& area, COLORREF color, bool equal) const
{
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (!PtInRect(&area, POINT{x, y}) && (At(x, y) == color) == equal)
                ++count;
    return count;
}

Image Render(HWND window, UINT message, LRESULT* result)
{
    RECT client = {};
    GetClientRect(window, &client);
    Image image;
    image.width = client.right;
    image.height = client.bottom;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;   // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) {
        ADD_FAILURE() << "cannot create the bitmap to render into";
        return image;
    }
    auto* quads = static_cast<DWORD*>(bits);
    const size_t count = static_cast<size_t>(image.width) * image.height;
    // The sentinel shows what the paint did not cover.
    std::fill(quads, quads + count, RGB(GetBValue(kSentinel), GetGValue(kSentinel), GetRValue(kSentinel)));

    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) {
        ADD_FAILURE() << "cannot create the device context to render into";
        return image;
    }
    const HGDIOBJ previous = SelectObject(dc.get(), bitmap.get());
    const LRESULT answer = SendMessageW(window, message, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    if (result)
        *result = answer;
    GdiFlush();
    SelectObject(dc.get(), previous);   // the bitmap is deleted after the DC, but never while selected into it

    // The DIB holds 0x00RRGGBB; colour values are 0x00BBGGRR.
    image.pixels.reserve(count);
    for (size_t i = 0; i < count; ++i)
        image.pixels.push_back(RGB((quads[i] >> 16) & 0xFF, (quads[i] >> 8) & 0xFF, quads[i] & 0xFF));
    return image;
}

POINT Center(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

LPARAM PointParam(POINT p)
{
    return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_CTLCOLORSTATIC)
        return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    return FALSE;
}

}  // namespace

void LinkDialogTest::SetUp()
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&controls));
    ASSERT_TRUE(registry.ok());
}

void LinkDialogTest::TearDown()
{
    if (IsWindow(dialog))
        DestroyWindow(dialog);
}

void LinkDialogTest::CreateLink(bool roomy)
{
    dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAINDLG), nullptr, PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    control = GetDlgItem(dialog, IDC_POWERED_BY);
    ASSERT_NE(control, nullptr);
    // The dialog stays hidden: under Wine without a window manager, taking a shown window down costs seconds.

    ASSERT_TRUE(link.Attach(control));
    link.InitControl();
    link.SetTarget(kHomePage);
    link.SetLabelText(L"Powered by Vantorin");
    if (roomy) {
        // Wider and taller than the text, so there is empty control beside and below it.
        ASSERT_TRUE(SetWindowPos(control, nullptr, 10, 10, 300, 40, SWP_NOZORDER | SWP_NOACTIVATE));
        RECT client = {};
        GetClientRect(control, &client);
        const RECT linkRect = Access::LinkRect(link);
        ASSERT_LT(linkRect.right + 20, client.right) << "the text should leave room beside it";
    }
}

POINT LinkDialogTest::BesideText() const
{
    const RECT linkRect = Access::LinkRect(link);
    return {linkRect.right + 10, Center(linkRect).y};
}

void LinkDialogTest::Press(POINT p)
{
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(p));
}

void LinkDialogTest::Release(POINT p)
{
    SendMessageW(control, WM_LBUTTONUP, 0, PointParam(p));
}

}  // namespace kelvane::test
