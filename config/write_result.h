// Why a change to the player's files or the registry did not land, as the call that failed saw it.
#pragma once

#include <cstdint>

namespace kelvane {

// The Windows error for a name that leads somewhere else than the regular file it names (a link or mount point in
// its place, or a folder that is not on a drive): what Windows itself answers where it is told not to follow one.
constexpr unsigned long kErrorLinkInTheWay = 4395;   // ERROR_REPARSE_POINT_ENCOUNTERED

enum class FailureCause : std::uint8_t {
    None,       // the change landed
    ReadOnly,   // the file carries the read-only attribute
    InUse,      // another program holds the file open
    DiskFull,
    NoFolder,            // the folder the file belongs in (WTF) does not exist
    NoGameFolder,        // no game folder has been chosen
    GameFolderMissing,   // the chosen game folder does not exist
    AccessDenied,        // Windows denied access to the file or its folder
    RegistryRefused,     // the registry refused the network setting
    NoVideoMemory,       // DirectDraw gave no display-memory figure
    Link,                // a link stands where a file of WTF (or WTF itself) should be: nothing goes through it
    WriteProtected,      // the disk or medium refuses every write
    Other,               // anything else
};

// What a write answers: true when it landed, otherwise the cause, made where the failure happened.
class WriteResult {
public:
    constexpr WriteResult() = default;
    constexpr WriteResult(FailureCause cause) : cause_(cause) {}   // implicit: a cause reads as its result

    // The cause a Windows error code stands for; never a success, even for a code of 0.
    static WriteResult FromError(unsigned long windowsError);

    constexpr explicit operator bool() const { return cause_ == FailureCause::None; }
    constexpr FailureCause cause() const { return cause_; }

private:
    FailureCause cause_ = FailureCause::None;
};

}  // namespace kelvane
