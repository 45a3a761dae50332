// Process entry: DLLs from the system folder only, one dialog at a time, then COM and the common controls around one
// run of the dialog.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/app_module.h"
#include "app/application.h"
#include "app/dll_search.h"
#include "app/single_instance.h"

namespace {

// A start while another run is still starting waits this long for that run's dialog to appear.
constexpr DWORD kWaitForOpenDialogMs = 5000;
constexpr int kExitCodeDialogAlreadyOpen = 0;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand)
{
    // Before COM, the common controls or the shell load anything by name.
    kelvane::RestrictDllSearchToSystemFolder();
    // Before anything else that acts, so a second start opens and changes nothing.
    kelvane::SingleInstance singleInstance;
    if (!singleInstance.Claim(kWaitForOpenDialogMs))
        return kExitCodeDialogAlreadyOpen;
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
