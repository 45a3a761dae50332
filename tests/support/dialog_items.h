// Reading the dialog's controls by id, the same way for the dialog in this process and for the real program's in
// another: only messages that Windows carries across processes are used.
#pragma once

#include <windows.h>

#include <string>

namespace kelvane::test {

class DialogItems {
public:
    virtual HWND window() const = 0;
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
