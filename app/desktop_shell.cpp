// The desktop's shell reached through automation: the desktop window among the shell's windows, its browser's active
// view, and that view's shell object, whose ShellExecute runs inside Explorer.
#include "app/desktop_shell.h"

// First: its ShellExecute macro then renames the automation method where it is declared and where it is called alike.
#include <shellapi.h>

#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "common/unique_handle.h"

namespace kelvane {
namespace {

// A step's answer: its failure, or a failure too when it "succeeded" without handing out the interface (the shell
// windows answer S_FALSE when there is no desktop window).
template <typename T>
HRESULT Got(HRESULT result, const ComPtr<T>& object)
{
    if (FAILED(result))
        return result;
    return result == S_OK && object ? S_OK : E_NOINTERFACE;
}

HRESULT FindDesktopShell(ComPtr<IShellDispatch2>& shell)
{
    ComPtr<IShellWindows> shellWindows;
    HRESULT result = Got(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                                          shellWindows.put()), shellWindows);
    UniqueVariant desktopLocation(static_cast<LONG>(CSIDL_DESKTOP));
    UniqueVariant noRoot;
    LONG desktopWindow = 0;
    ComPtr<IDispatch> desktop;
    if (SUCCEEDED(result))
        result = Got(shellWindows->FindWindowSW(&desktopLocation.get(), &noRoot.get(), SWC_DESKTOP, &desktopWindow,
                                                SWFO_NEEDDISPATCH, desktop.putTyped()), desktop);
    ComPtr<IServiceProvider> services;
    if (SUCCEEDED(result))
        result = Got(desktop->QueryInterface(IID_IServiceProvider, services.put()), services);
    ComPtr<IShellBrowser> browser;
    if (SUCCEEDED(result))
        result = Got(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.put()), browser);
    ComPtr<IShellView> view;
    if (SUCCEEDED(result))
        result = Got(browser->QueryActiveShellView(view.putTyped()), view);
    ComPtr<IDispatch> background;
    if (SUCCEEDED(result))
        result = Got(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.put()), background);
    ComPtr<IShellFolderViewDual> folderView;
    if (SUCCEEDED(result))
        result = Got(background->QueryInterface(IID_IShellFolderViewDual, folderView.put()), folderView);
    ComPtr<IDispatch> application;
    if (SUCCEEDED(result))
        result = Got(folderView->get_Application(application.putTyped()), application);
    if (SUCCEEDED(result))
        result = Got(application->QueryInterface(IID_IShellDispatch2, shell.put()), shell);
    return result;
}

// The token of the process that owns `window`, opened for reading, or none.
UniqueKernelObject WindowProcessToken(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    UniqueKernelObject token;
    if (!processId)
        return token;
    const UniqueKernelObject process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (process && !OpenProcessToken(process.get(), TOKEN_QUERY, token.put()))
        token = UniqueKernelObject();
    return token;
}

bool IsElevated(HANDLE token)
{
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    return GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size) &&
           elevation.TokenIsElevated;
}

bool SameUser(HANDLE first, HANDLE second)
{
    struct UserBuffer {
        alignas(TOKEN_USER) BYTE bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    };
    UserBuffer users[2] = {};
    const HANDLE tokens[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        DWORD size = 0;
        if (!GetTokenInformation(tokens[i], TokenUser, users[i].bytes, sizeof(users[i].bytes), &size))
            return false;
    }
    return EqualSid(reinterpret_cast<TOKEN_USER*>(users[0].bytes)->User.Sid,
                    reinterpret_cast<TOKEN_USER*>(users[1].bytes)->User.Sid) != FALSE;
}

}  // namespace

HRESULT OpenThroughDesktopShell(const wchar_t* target)
{
    ComPtr<IShellDispatch2> shell;
    const HRESULT found = FindDesktopShell(shell);
    if (FAILED(found))
        return found;
    const UniqueBstr file(SysAllocString(target));
    UniqueVariant noParameters(L"");
    UniqueVariant noDirectory(L"");
    UniqueVariant verb(L"open");
    UniqueVariant show(static_cast<LONG>(SW_SHOWNORMAL));
    if (!file || noParameters.empty() || noDirectory.empty() || verb.empty())
        return E_OUTOFMEMORY;
    // Windows answers a failed open with an error, Wine's explorer with S_FALSE: either way the shell was there.
    const HRESULT opened =
        shell->ShellExecute(file.get(), noParameters.get(), noDirectory.get(), verb.get(), show.get());
    return opened == S_OK ? S_OK : S_FALSE;
}

TOKEN_ELEVATION_TYPE BrowserElevationType()
{
    UniqueKernelObject own;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeFull;
    DWORD size = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, own.put()) ||
        !GetTokenInformation(own.get(), TokenElevationType, &type, sizeof(type), &size))
        return TokenElevationTypeFull;
    if (type != TokenElevationTypeFull)
        return type;
    // The shell window's process; without one, the desktop window's, which on Windows belongs to the system (another
    // user), so a desktop without Explorer still counts as Full there.
    const HWND shellWindow = GetShellWindow();
    const UniqueKernelObject shell = WindowProcessToken(shellWindow ? shellWindow : GetDesktopWindow());
    return shell && IsElevated(shell.get()) && SameUser(shell.get(), own.get()) ? TokenElevationTypeDefault
                                                                                : TokenElevationTypeFull;
}

}  // namespace kelvane
