// Runs the real main dialog inside the test process: created from the real template, pumped like the program's
// loop, driven with real button clicks and edit changes.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/main_dialog.h"
#include "app/message_loop.h"
#include "tests/support/dialog_items.h"
#include "tests/support/scratch_registry.h"
#include "tests/support/temp_folder.h"

namespace kelvane {

// The dialog's state that the user cannot see directly.
struct MainDialogTestAccess {
    static OptionMask currentOptions(const MainDialog& d) { return d.currentOptions; }
    static OptionMask appliedOptions(const MainDialog& d) { return d.appliedOptions; }
    static const std::wstring& configPath(const MainDialog& d) { return d.configPath; }
};

namespace test {

class DialogHarness : public DialogItems {
public:
    // Creates the dialog, registers the loop for this thread and pumps start-up's messages. The window stays hidden
    // unless asked: under Wine without a window manager, hiding a shown window costs seconds.
    explicit DialogHarness(bool show = false);
    DialogHarness(const DialogHarness&) = delete;
    DialogHarness& operator=(const DialogHarness&) = delete;
    ~DialogHarness();

    HWND window() const override { return window_; }

    // Handles every queued message the way the program's loop does; returns the WM_QUIT code seen, or -1.
    int Pump();
    // A real click on a button or checkbox (BM_CLICK), then the queue is pumped.
    void Click(int id) override;
    void Settle() override { Pump(); }
    void SetText(int id, const std::wstring& text);   // as a program would, then a pause in the typing
    int quitCode() const { return quitCode_; }
    // Folder browsers that opened over the dialog; each is cancelled at once, as a user closing it would.
    int browsersCancelled() const { return browsersCancelled_; }

    OptionMask currentOptions() const { return MainDialogTestAccess::currentOptions(dialog_); }
    OptionMask appliedOptions() const { return MainDialogTestAccess::appliedOptions(dialog_); }
    const std::wstring& configPath() const { return MainDialogTestAccess::configPath(dialog_); }

private:
    void CancelBrowsers();

    std::atomic<bool> stop_{false};
    std::atomic<int> browsersCancelled_{0};
    DWORD uiThread_ = GetCurrentThreadId();
    std::thread browserCanceller_;
    MessageLoop loop_;
    MainDialog dialog_;
    std::atomic<HWND> window_{nullptr};   // read by the browser canceller too
    int quitCode_ = -1;
};

// A dialog test's ground: the registry redirected into a scratch key, a game folder (holding `config` when given)
// that the registry names as the installed game, and the dialog, made when the test starts it.
class DialogTest : public ::testing::Test {
protected:
    explicit DialogTest(const std::optional<std::string>& config = std::nullopt) : game(config)
    {
        SetInstallPath(game.folder());
    }
    void Start() { ui = std::make_unique<DialogHarness>(); }

    ScratchRegistry registry;
    TempGameFolder game;
    std::unique_ptr<DialogHarness> ui;
};

// For Landing::check: the options applied before stay so while an Apply is refused, and follow the ticks once landed.
inline std::function<void(bool landed)> AppliedOnlyOnceLanded(const DialogHarness& ui)
{
    return [&ui, was = ui.appliedOptions()](bool landed) {
        EXPECT_EQ(ui.appliedOptions(), landed ? ui.currentOptions() : was);
    };
}

}  // namespace test
}  // namespace kelvane
