// The three "synchronize" game settings: each option bit is on exactly while its setting holds "0".
#pragma once

#include <string>

#include "common/option_mask.h"

namespace kelvane {

// flag kRead (0) sets or clears the option's bit of `options` from config.wtf at `configPath` and always
// returns true; any other flag writes the bit's state to the file and returns whether the file now matches.
bool SyncConfigTweak(OptionMask& options, const std::wstring& configPath, int flag);
bool SyncBindingsTweak(OptionMask& options, const std::wstring& configPath, int flag);
bool SyncMacrosTweak(OptionMask& options, const std::wstring& configPath, int flag);

}  // namespace kelvane
