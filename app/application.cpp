// The run of the program between start-up and shut-down: one loop, one dialog.
#include "app/application.h"

#include "app/app_module.h"
#include "app/main_dialog.h"
#include "app/message_loop.h"
#include "app/resources/resource.h"

namespace kelvane {

int RunApplication(const wchar_t* /*commandLine*/, int showCommand)
{
    MessageLoop loop;
    Module().RegisterLoop(&loop);
    int exitCode = 0;
    {
        MainDialog dialog;
        if (const HWND window = dialog.Create(Module().instance(), IDD_MAINDLG, nullptr)) {
            ShowWindow(window, showCommand);
            exitCode = loop.Run();
        }
    }
    Module().UnregisterLoop();
    return exitCode;
}

}  // namespace kelvane
