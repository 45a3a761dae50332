// Base of a dialog object: binds the object to its window before the window's first message.
#pragma once

#include <windows.h>

namespace kelvane {

class DialogWindow {
public:
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Creates the modeless dialog from a template of `instance`; null when that fails.
    HWND Create(HINSTANCE instance, int templateId, HWND owner);
    HWND window() const { return window_; }

protected:
    DialogWindow() = default;
    ~DialogWindow();

    // Tests the message in the window's fixed order; true when handled, with `result` as the message result.
    virtual bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

}  // namespace kelvane
