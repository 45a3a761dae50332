// What the note says when a change or a restore did not land: the cause, and what the player can do about it.
#pragma once

#include <string>

#include "config/write_result.h"

namespace kelvane {

// The note for an Apply whose first failure had this cause.
const wchar_t* ApplyFailureNote(FailureCause cause);

// The note for a failed restore: that it failed, the cause, and the remedy, ending with pressing it again.
std::wstring RestoreFailureNote(FailureCause cause);

}  // namespace kelvane
