// Reading and clicking the dialog's controls by id, the same way for the dialog in this process and for the real
// program's in another: only messages that Windows carries across processes are used.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

#include "app/resources/resource.h"

namespace kelvane::test {

class DialogItems {
public:
    virtual HWND window() const = 0;
    virtual void Click(int id) = 0;   // a real click, handled before it returns
    virtual void Settle() = 0;        // waits until the dialog has handled what was sent
    // Ticks or unticks each option given, then presses Apply.
    void Apply(std::initializer_list<int> ids = {})
    {
        for (const int id : ids)
            Click(id);
        Click(IDC_APPLY);
    }
    // A key press, down then up, to the control that has the focus, handled before it returns; the dialog's loop
    // hands it to the dialog's filter first. A user's key goes to the active window: a shown dialog is brought forward.
    void PressKey(UINT key)
    {
        if (IsWindowVisible(window()))
            SetForegroundWindow(window());
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        HWND target = window();
        if (GetGUIThreadInfo(GetWindowThreadProcessId(window(), nullptr), &info) && info.hwndFocus)
            target = info.hwndFocus;
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, 0xC0000001);
        Settle();
    }
    HWND item(int id) const { return GetDlgItem(window(), id); }
    bool IsChecked(int id) const { return SendMessageW(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool IsEnabled(int id) const { return IsWindowEnabled(item(id)) != FALSE; }
    std::wstring Text(int id) const
    {
        wchar_t text[kTextCapacity] = {};
        // GetWindowTextW does not ask another process's controls; WM_GETTEXT is marshalled across.
        SendMessageW(item(id), WM_GETTEXT, kTextCapacity, reinterpret_cast<LPARAM>(text));
        return text;
    }

protected:
    ~DialogItems() = default;

private:
    static constexpr int kTextCapacity = 1024;
};

}  // namespace kelvane::test
