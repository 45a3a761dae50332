// Opening a web address through the desktop's shell, so the browser gets the player's own rights, not the program's.
#pragma once

#include <windows.h>

namespace kelvane {

// Asks the shell of the desktop (Explorer, which runs without elevation) to "open" `target` on the program's behalf.
// S_OK when it opened it; S_FALSE when it was asked and could not; a failure when there is no desktop shell to ask
// (no Explorer) or it would not be reached. Needs COM on the calling thread.
HRESULT OpenThroughDesktopShell(const wchar_t* target);

// The kind of token that decides where a browser must come from: this process's, where TokenElevationTypeFull (UAC's
// administrator, with the player's unelevated token linked to it) is the one kind whose browser must come from the
// desktop's shell. A full token beside a desktop whose shell runs elevated under this same user counts as Default:
// that shell has no fewer rights to lend (Wine runs every program so). A token that cannot be read counts as Full,
// so a browser never starts elevated by mistake.
TOKEN_ELEVATION_TYPE BrowserElevationType();

}  // namespace kelvane
