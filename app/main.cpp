// Process entry: COM and the common controls around one run of the dialog.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/app_module.h"
#include "app/application.h"
#include "app/dll_search.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand)
{
    // Before COM, the common controls or the shell load anything by name.
    kelvane::RestrictDllSearchToSystemFolder();
    CoInitialize(nullptr);
    DefWindowProcW(nullptr, 0, 0, 0);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    kelvane::Module().Initialize(instance);
    const int exitCode = kelvane::RunApplication(commandLine, showCommand);
    kelvane::Module().Terminate();
    CoUninitialize();
    return exitCode;
}
