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
    // Ticks or unticks each option given, then presses Apply.
    void Apply(std::initializer_list<int> ids = {})
    {
        for (const int id : ids)
            Click(id);
        Click(IDC_APPLY);
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
