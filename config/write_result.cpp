// Sorting Windows error codes into the causes a player can do something about.
#include "config/write_result.h"

#include <windows.h>

namespace kelvane {

WriteResult WriteResult::FromError(unsigned long windowsError)
{
    switch (windowsError) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return FailureCause::InUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FailureCause::DiskFull;
    case ERROR_PATH_NOT_FOUND:
        return FailureCause::NoFolder;
    case ERROR_ACCESS_DENIED:
        return FailureCause::AccessDenied;
    default:
        return FailureCause::Other;
    }
}

}  // namespace kelvane
