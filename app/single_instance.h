// One dialog at a time: the first start owns a named mutex for its whole run, and a later start brings that
// dialog forward instead of opening a second one whose Apply would back up the first one's result.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_handle.h"

namespace kelvane {

class SingleInstance {
public:
    SingleInstance() = default;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();   // lets the next start open its dialog

    // True when this start is the one to open the dialog: no other run holds the mutex, or the one that held it
    // ended, in any way. Otherwise waits up to `waitMs` for the other run's dialog to appear, brings it to the
    // front (restored if minimised) and returns false.
    bool Claim(DWORD waitMs);

private:
    std::wstring NameOf(const wchar_t* object) const;
    DWORD ReadOwner() const;
    void PublishOwner(SECURITY_ATTRIBUTES& attributes);

    UniquePrivateNamespace namespace_;   // the administrators' namespace the names live in; none: the session's
    UniqueKernelObject mutex_;
    UniqueKernelObject owner_;   // the process id of the run that owns the mutex, for a later start to read
    bool owned_ = false;
};

}  // namespace kelvane
