// Which checkbox shows which option bit, and the note that tells the user what a change needs.
#pragma once

#include "common/option_mask.h"

namespace kelvane {

struct OptionControl {
    int id;
    OptionMask bit;
};

// In the order the dialog sets its checkboxes: network, texture, bindings, configs, macros.
extern const OptionControl kOptionControls[5];

// The bit of a checkbox id, or 0 for any other id.
OptionMask OptionBitOfControl(int id);

// The restart note for the options that differ between the two masks; empty when none does.
const wchar_t* RestartNote(OptionMask currentOptions, OptionMask appliedOptions);

}  // namespace kelvane
