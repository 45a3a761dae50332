// Pauses that double from a few milliseconds, so a scanner's hold costs little and a real one about two seconds.
#include "config/brief_refusals.h"

#include <algorithm>

namespace kelvane {
namespace {

constexpr DWORD kFirstPauseMs = 5;
constexpr DWORD kLongestWaitMs = 2000;

}  // namespace

bool BriefRefusals::IsHold(DWORD error, bool deniedMeansHeld)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           (deniedMeansHeld && error == ERROR_ACCESS_DENIED);
}

bool BriefRefusals::Pause()
{
    if (waitedMs_ >= kLongestWaitMs)
        return false;
    nextPauseMs_ = nextPauseMs_ == 0 ? kFirstPauseMs : nextPauseMs_ * 2;
    const DWORD pause = std::min(nextPauseMs_, kLongestWaitMs - waitedMs_);
    Sleep(pause);
    waitedMs_ += pause;
    return true;
}

}  // namespace kelvane
