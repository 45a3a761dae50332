// Creating the main dialog and running the message loop until the dialog quits.
#pragma once

namespace kelvane {

// Returns the exit code: the WM_QUIT code, or 0 when the dialog cannot be created.
int RunApplication(const wchar_t* commandLine, int showCommand);

}  // namespace kelvane
