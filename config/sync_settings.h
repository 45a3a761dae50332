// The three "synchronize" game settings: each option bit is on exactly while its setting holds "0".
#pragma once

#include "common/option_mask.h"
#include "config/game_config_file.h"
#include "config/write_result.h"

namespace kelvane {

// On a loaded document: flag kRead (0) sets or clears the option's bit of `options` from it; any other flag edits
// it to hold the bit's state. Nothing is saved, and both always succeed.
WriteResult SyncConfigTweak(OptionMask& options, GameConfigFile& document, int flag);
WriteResult SyncBindingsTweak(OptionMask& options, GameConfigFile& document, int flag);
WriteResult SyncMacrosTweak(OptionMask& options, GameConfigFile& document, int flag);

}  // namespace kelvane
