// The least a dialog program does: an empty modeless dialog from a template, shown, with a normal message loop.
// The start-up benchmark times it beside the product.
#include <windows.h>

namespace {

constexpr wchar_t kTemplate[] = L"BARE";

INT_PTR CALLBACK BareDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            DestroyWindow(window);
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(window);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    const HWND dialog = CreateDialogParamW(instance, kTemplate, nullptr, BareDialogProc, 0);
    if (!dialog)
        return 1;
    ShowWindow(dialog, showCommand);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
