// The link control's set-up and state: attaching to the static, its texts, the tooltip tools and opening the target.
#include "app/hyperlink_control.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <new>

#include "app/app_module.h"
#include "app/desktop_shell.h"
#include "common/shell_calls.h"

namespace kelvane {
namespace {

constexpr wchar_t kStaticClass[] = L"static";
constexpr int kClassNameCapacity = 8;   // enough for "static"; longer names are cut short and never match
constexpr UINT_PTR kToolId = 1;

// Static styles that draw pictures or frames rather than text: those keep drawing themselves.
constexpr BYTE kSelfDrawnStaticTypes[] = {SS_ICON,      SS_BLACKRECT,  SS_GRAYRECT,  SS_WHITERECT, SS_BLACKFRAME,
                                          SS_GRAYFRAME, SS_WHITEFRAME, SS_OWNERDRAW, SS_BITMAP,    SS_ENHMETAFILE};

// The 32-bit program registers its tools with the 48-byte TOOLINFOW, which is the whole record including
// lpReserved (the V2 record, up to lParam, is 44). The same whole record is 72 bytes in a 64-bit build, so the
// size of the platform's own record is the one that matches on both.
static_assert(sizeof(void*) != 4 || sizeof(TOOLINFOW) == 48, "the 32-bit tool record is 48 bytes");

// Replaces `stored` with a copy of `text`; false, with nothing stored, for no text or no memory for the copy.
bool StoreText(std::optional<std::wstring>& stored, const wchar_t* text)
{
    stored.reset();
    if (!text)
        return false;
    try {
        stored.emplace(text);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace

HyperLinkControl::ShellExecuteFunction HyperLinkControl::shellExecute = ShellExecuteOnDemand;
HyperLinkControl::DesktopOpenFunction HyperLinkControl::desktopOpen = OpenThroughDesktopShell;
HyperLinkControl::ElevationTypeFunction HyperLinkControl::elevationType = BrowserElevationType;

HyperLinkControl::~HyperLinkControl()
{
    Detach();
    if (!ownsLinkFont)
        linkFont.release();
}

bool HyperLinkControl::Attach(HWND control)
{
    // A second attach would record our own procedure as the previous one and loop forever.
    if (window || !control || !IsWindow(control))
        return false;
    // The property goes first: the new procedure may see a message as soon as it is installed.
    if (!SetPropW(control, kControlProperty, this))
        return false;
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HyperLinkControl::WindowProc)));
    if (!previous) {
        RemovePropW(control, kControlProperty);
        return false;
    }
    window = control;
    previousWindowProc = previous;
    return true;
}

void HyperLinkControl::Detach()
{
    if (!window)
        return;
    if (IsWindow(window)) {
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == &HyperLinkControl::WindowProc)
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWindowProc));
        RemovePropW(window, kControlProperty);
    }
    window = nullptr;
    previousWindowProc = nullptr;
}

void HyperLinkControl::InitControl()
{
    // Without a window there is nothing to set up, and a tooltip without an owner would outlive the program.
    if (!window)
        return;
    wchar_t className[kClassNameCapacity] = {};
    GetClassNameW(window, className, kClassNameCapacity);
    if (CompareStringOrdinal(className, -1, kStaticClass, -1, TRUE) == CSTR_EQUAL) {
        const LONG style = GetWindowLongW(window, GWL_STYLE) | SS_NOTIFY;
        SetWindowLongW(window, GWL_STYLE, style);
        const BYTE type = LOBYTE(style);
        if (std::find(std::begin(kSelfDrawnStaticTypes), std::end(kSelfDrawnStaticTypes), type) !=
            std::end(kSelfDrawnStaticTypes))
            paintLabel = false;
    }

    handCursor = LoadCursorW(nullptr, IDC_HAND);

    if (paintLabel) {
        normalFont = reinterpret_cast<HFONT>(SendMessageW(GetParent(window), WM_GETFONT, 0, 0));
        if (!normalFont)
            normalFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        if (normalFont && !linkFont) {
            LOGFONTW font = {};
            GetObjectW(normalFont, sizeof(font), &font);
            font.lfUnderline = TRUE;
            linkFont = UniqueGdiObject(CreateFontIndirectW(&font));
            ownsLinkFont = static_cast<bool>(linkFont);
        }
    }

    tooltip = UniqueWindow(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                           CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, Module().instance(),
                                           nullptr));

    if (!label) {
        const int length = GetWindowTextLengthW(window);
        if (length > 0) {
            try {
                std::wstring text(static_cast<size_t>(length) + 1, L'\0');
                const int read = GetWindowTextW(window, text.data(), length + 1);
                if (read > 0) {
                    text.resize(static_cast<size_t>(read));
                    SetLabelText(text.c_str());
                }
            } catch (const std::bad_alloc&) {
                // Without memory for the text the control simply has no label yet.
            }
        }
    }

    ComputeLinkRect();

    if (target) {
        AddTooltipTool();
    } else if (label) {
        const std::wstring text = *label;
        SetTarget(text.c_str());
    }

    if (paintLabel)
        ReadLinkColors();
}

bool HyperLinkControl::SetTarget(const wchar_t* text)
{
    if (!StoreText(target, text))
        return false;
    if (!label)
        ComputeLinkRect();
    if (tooltip)
        AddTooltipTool();
    return true;
}

bool HyperLinkControl::SetLabelText(const wchar_t* text)
{
    if (!StoreText(label, text))
        return false;
    ComputeLinkRect();
    // The static's own text stays equal to the label, for accessibility tools and WM_GETTEXT.
    if (window)
        SetWindowTextW(window, label->c_str());
    return true;
}

void HyperLinkControl::AddTooltipTool()
{
    // Tools are only ever added: each new target registers another tool with the same id.
    if (!target)
        return;
    SendMessageW(tooltip.get(), TTM_ACTIVATE, TRUE, 0);
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = 0;
    tool.hwnd = window;
    tool.uId = kToolId;
    tool.rect = linkRect;
    tool.hinst = Module().instance();
    tool.lpszText = const_cast<wchar_t*>(target->c_str());
    tool.lParam = 0;
    SendMessageW(tooltip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool HyperLinkControl::OpenTarget()
{
    if (!target)
        return false;
    // A browser gets the rights of the process that starts it. Under UAC this program holds the administrator's full
    // token and the desktop's shell the player's own, so only that shell may start it, and where it cannot be
    // reached nothing opens. With any other kind (no UAC, UAC off, an unelevated run, or a desktop that runs elevated
    // too, as under Wine) this program's rights are the player's already, and its own shell opens at once. Under Wine
    // the desktop's shell could not even be asked in a new prefix's first session: its explorer starts before the
    // RpcSs service it registers its shell windows with.
    bool opened = false;
    if (elevationType() == TokenElevationTypeFull) {
        opened = desktopOpen(target->c_str()) == S_OK;
    } else {
        const HINSTANCE result = shellExecute(nullptr, L"open", target->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        // Values up to 32 are the shell's error codes.
        constexpr INT_PTR kLastShellError = 32;
        opened = reinterpret_cast<INT_PTR>(result) > kLastShellError;
    }
    // Drawn visited only when something was opened.
    if (!opened)
        return false;
    visited = true;
    if (window)
        InvalidateRect(window, nullptr, TRUE);
    return true;
}

}  // namespace kelvane
