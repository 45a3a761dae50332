// The in-process dialog harness.
#include "tests/support/dialog_harness.h"

#include <gtest/gtest.h>

#include "app/app_module.h"
#include "app/resources/resource.h"
#include "tests/support/launched_program.h"

namespace kelvane::test {
namespace {
constexpr DWORD kTypingPauseMs = 400;   // the dialog waits a quarter of a second
constexpr int kBrowserCloseChecks = 1500;   // 30 s at most
}

DialogHarness::DialogHarness(bool show)
{
    Module().Initialize(nullptr);
    Module().RegisterLoop(&loop_);
    browserCanceller_ = std::thread([this] { CancelBrowsers(); });
    window_ = dialog_.Create(Module().instance(), IDD_MAINDLG, nullptr);
    if (!window_) {
        ADD_FAILURE() << "the main dialog could not be created, error " << GetLastError();
        return;
    }
    if (show)
        ShowWindow(window_, SW_SHOWNORMAL);
    Pump();
}

DialogHarness::~DialogHarness()
{
    if (IsWindow(window_))
        DestroyWindow(window_);
    Pump();
    Module().UnregisterLoop();
    stop_ = true;
    browserCanceller_.join();
}

void DialogHarness::CancelBrowsers()
{
    while (!stop_) {
        if (const HWND browser = FindFolderBrowser(uiThread_, window_)) {
            PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
            ++browsersCancelled_;
            // Counted once: it is looked for again only when it has closed, however slow the machine.
            for (int waited = 0; waited < kBrowserCloseChecks && IsWindow(browser) && !stop_; ++waited)
                Sleep(20);
        }
        Sleep(20);
    }
}

int DialogHarness::Pump()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitCode_ = static_cast<int>(message.wParam);
            continue;
        }
        if (IsWindow(window_) && dialog_.FilterMessage(&message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return quitCode_;
}

void DialogHarness::Click(int id)
{
    SendMessageW(item(id), BM_CLICK, 0, 0);
    Pump();
}

void DialogHarness::SetText(int id, const std::wstring& text)
{
    SetWindowTextW(item(id), text.c_str());
    Sleep(kTypingPauseMs);   // a folder is looked at once the typing pauses
    Pump();
}

}  // namespace kelvane::test
