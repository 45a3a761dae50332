// Sorting Windows error codes into the causes a player can do something about.
#include "config/write_result.h"

#include <windows.h>

namespace kelvane {
namespace {

constexpr DWORD kErrorDiskQuotaExceeded = 1295;   // ERROR_DISK_QUOTA_EXCEEDED, missing from MinGW's headers

}  // namespace

WriteResult WriteResult::FromError(unsigned long windowsError)
{
    switch (windowsError) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return FailureCause::InUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kErrorDiskQuotaExceeded:   // the player's share of the disk is full: to them, the disk is
        return FailureCause::DiskFull;
    case ERROR_WRITE_PROTECT:
        return FailureCause::WriteProtected;
    case kErrorLinkInTheWay:
        return FailureCause::Link;
    case ERROR_PATH_NOT_FOUND:
        return FailureCause::NoFolder;
    case ERROR_ACCESS_DENIED:
        return FailureCause::AccessDenied;
    default:
        return FailureCause::Other;
    }
}

}  // namespace kelvane
