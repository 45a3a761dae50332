// The three "synchronize" game settings: each option bit is on exactly while its setting holds "0".
#pragma once

#include <string>

#include "common/option_mask.h"
#include "config/config_edit_batch.h"
#include "config/game_config_file.h"
#include "config/write_result.h"

namespace kelvane {

// On a loaded document: flag kRead (0) sets or clears the option's bit of `options` from it; any other flag edits
// it to hold the bit's state. Nothing is saved, and both always succeed.
WriteResult SyncConfigTweak(OptionMask& options, GameConfigFile& document, int flag);
WriteResult SyncBindingsTweak(OptionMask& options, GameConfigFile& document, int flag);
WriteResult SyncMacrosTweak(OptionMask& options, GameConfigFile& document, int flag);

// The same on config.wtf at `configPath`: a read loads it; a write loads it, edits it and saves it, and succeeds
// when the file now matches, otherwise names why it does not.
WriteResult SyncConfigTweak(OptionMask& options, const std::wstring& configPath, int flag);
WriteResult SyncBindingsTweak(OptionMask& options, const std::wstring& configPath, int flag);
WriteResult SyncMacrosTweak(OptionMask& options, const std::wstring& configPath, int flag);

}  // namespace kelvane
