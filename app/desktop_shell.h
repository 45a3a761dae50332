// Opening a web address through the desktop's shell, so the browser gets the player's own rights, not the program's.
#pragma once

#include <windows.h>

namespace kelvane {

// Asks the shell of the desktop (Explorer, which runs without elevation) to "open" `target` on the program's behalf.
// S_OK when it opened it; S_FALSE when it was asked and could not; a failure when there is no desktop shell to ask
// (no Explorer) or it would not be reached. Needs COM on the calling thread.
HRESULT OpenThroughDesktopShell(const wchar_t* target);

// The kind of this process's token. TokenElevationTypeFull (UAC's administrator, with the player's unelevated token
// linked to it) is the one kind whose browser must come from the desktop's shell; when the token cannot be read it
// is taken for that kind too, so a browser never starts elevated by mistake.
TOKEN_ELEVATION_TYPE ProcessElevationType();

}  // namespace kelvane
