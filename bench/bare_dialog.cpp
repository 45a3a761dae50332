// The least a dialog program does: a modeless dialog from the one template it holds, shown, with a normal message
// loop. Built twice, with an empty template and with the product's own resources, as yardsticks for start-up.
#include <windows.h>

namespace {

// The first dialog template of the module; a name given as text is valid only during the callback, so it is copied.
struct TemplateName {
    WORD id = 0;
    wchar_t text[64] = {};
    LPCWSTR get() const { return id ? MAKEINTRESOURCEW(id) : (text[0] ? text : nullptr); }
};

BOOL CALLBACK TakeFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found)
{
    TemplateName& first = *reinterpret_cast<TemplateName*>(found);
    if (IS_INTRESOURCE(name))
        first.id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    else
        lstrcpynW(first.text, name, static_cast<int>(sizeof(first.text) / sizeof(first.text[0])));
    return FALSE;
}

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
    TemplateName dialogTemplate;
    EnumResourceNamesW(instance, RT_DIALOG, TakeFirstName, reinterpret_cast<LONG_PTR>(&dialogTemplate));
    const HWND dialog = dialogTemplate.get()
                            ? CreateDialogParamW(instance, dialogTemplate.get(), nullptr, BareDialogProc, 0)
                            : nullptr;
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
