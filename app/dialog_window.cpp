// Dialog binding: the object being created is handed to the dialog procedure through a per-thread record,
// because WM_SETFONT and others arrive before WM_INITDIALOG carries the creation parameter.
#include "app/dialog_window.h"

namespace kelvane {
namespace {
thread_local DialogWindow* objectBeingCreated = nullptr;
}

DialogWindow::~DialogWindow()
{
    if (window_ && IsWindow(window_))
        SetWindowLongPtrW(window_, DWLP_USER, 0);
}

HWND DialogWindow::Create(HINSTANCE instance, int templateId, HWND owner)
{
    objectBeingCreated = this;
    const HWND created = CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), owner, DialogProc,
                                            reinterpret_cast<LPARAM>(this));
    objectBeingCreated = nullptr;
    return created;
}

INT_PTR CALLBACK DialogWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self && objectBeingCreated) {
        self = objectBeingCreated;
        objectBeingCreated = nullptr;
        self->window_ = window;
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return FALSE;

    LRESULT result = 0;
    const bool handled = self->Dispatch(message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->window_ = nullptr;
    }
    if (!handled)
        return FALSE;
    if (message == WM_INITDIALOG)
        return result;   // nonzero lets the dialog manager give the focus to the first tab stop
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace kelvane
