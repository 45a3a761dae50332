// The three "synchronize" game settings: each option bit is on exactly while its setting holds "0".
#pragma once

#include <string>

#include "common/option_mask.h"
#include "config/write_result.h"

namespace kelvane {

// flag kRead (0) sets or clears the option's bit of `options` from config.wtf at `configPath` and always
// succeeds; any other flag writes the bit's state to the file and succeeds when the file now matches, otherwise
// names why it does not.
WriteResult SyncConfigTweak(OptionMask& options, const std::wstring& configPath, int flag);
WriteResult SyncBindingsTweak(OptionMask& options, const std::wstring& configPath, int flag);
WriteResult SyncMacrosTweak(OptionMask& options, const std::wstring& configPath, int flag);

}  // namespace kelvane
