// Where the process looks for DLLs it loads by name: the system folder only, never the folder it was started from.
#pragma once

namespace kelvane {

// Narrows the DLL search of the whole process to the system folder; called first thing, before any DLL loads by
// name. Windows 7 without its 2011 update lacks SetDefaultDllDirectories: there the current folder at least is taken
// out of the search. True when the search is the system folder alone.
bool RestrictDllSearchToSystemFolder();

}  // namespace kelvane
