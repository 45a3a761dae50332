// Another program's brief hold on a file (a virus scanner, a search indexer, a sync client opening each new file for
// a few milliseconds) is waited out before it counts as "open in another program".
#pragma once

#include <windows.h>

namespace kelvane {

class BriefRefusals {
public:
    // Runs `attempt`, which answers a Windows error (0 for success), again after growing pauses while it is refused
    // as a held file is, about two seconds in all for one BriefRefusals; answers the last attempt's error. With
    // `deniedMeansHeld`, access denied counts as a hold too: Windows and Wine answer so a rename over a file that
    // another program has open.
    template <typename Attempt>
    DWORD Retry(const Attempt& attempt, bool deniedMeansHeld = false)
    {
        for (;;) {
            const DWORD error = attempt();
            if (!IsHold(error, deniedMeansHeld) || !Pause())
                return error;
        }
    }

    DWORD waitedMs() const { return waitedMs_; }

private:
    static bool IsHold(DWORD error, bool deniedMeansHeld);
    bool Pause();   // false once the time is used up

    DWORD nextPauseMs_ = 0;
    DWORD waitedMs_ = 0;
};

}  // namespace kelvane
