// The failure notes, one row a cause: the same remedy serves Apply and restore, worded for each.
#include "app/failure_notes.h"

namespace kelvane {
namespace {

struct FailureNotes {
    FailureCause cause;
    const wchar_t* apply;
    const wchar_t* restoreRemedy;   // followed by ", then press restore config.wtf again."
};

constexpr FailureNotes kNotes[] = {
    {FailureCause::ReadOnly, L"Note: config.wtf is read-only. Clear its read-only attribute, then press Apply again.",
     L"config.wtf is read-only: clear that attribute"},
    {FailureCause::InUse, L"Note: config.wtf is open in another program. Close it, then press Apply again.",
     L"config.wtf is open in another program: close it"},
    {FailureCause::DiskFull, L"Note: The disk is full. Free some space, then press Apply again.",
     L"The disk is full: free some space"},
    {FailureCause::NoFolder,
     L"Note: The game folder has no WTF folder. Choose the folder that holds it, then press Apply again.",
     L"The WTF folder is gone: choose the game folder"},
    {FailureCause::NoGameFolder, L"Note: Choose the game folder first, then press Apply again.",
     L"No game folder is chosen: choose it with Browse"},
    {FailureCause::GameFolderMissing,
     L"Note: The game folder was not found. Choose it with Browse, then press Apply again.",
     L"The game folder is gone: choose it with Browse"},
    {FailureCause::AccessDenied,
     L"Note: Windows denied access to config.wtf. If a security program guards the game folder, allow this "
     L"utility, then press Apply again.",
     L"Access denied: allow this utility in your security program"},
    {FailureCause::Link, L"Note: A link stands in place of config.wtf or its backup. Remove it, then press Apply again.",
     L"A link stands in place of config.wtf or its backup: remove it"},
    {FailureCause::WriteProtected, L"Note: The disk is write-protected. Remove the protection, then press Apply again.",
     L"The disk is write-protected: remove the protection"},
    {FailureCause::RegistryRefused,
     L"Note: Windows refused to change the network setting. Allow this utility in your security program, then "
     L"press Apply again.",
     nullptr},
    {FailureCause::NoVideoMemory,
     L"Note: The graphics card's memory could not be read, so the texture cache was not set. Restart Windows, "
     L"then press Apply again.",
     nullptr},
};

constexpr wchar_t kOtherApplyNote[] = L"Note: Some changes could not be applied. Press Apply to try again.";
// A restore fails for another cause mostly when the backup itself has gone.
constexpr wchar_t kOtherRestoreRemedy[] = L"Check that config.wtf.bak~ is still beside config.wtf";
constexpr wchar_t kRestoreFailed[] = L"Note: config.wtf was not restored. ";
constexpr wchar_t kRestoreAgain[] = L", then press restore config.wtf again.";

const FailureNotes* NotesOf(FailureCause cause)
{
    for (const FailureNotes& notes : kNotes) {
        if (notes.cause == cause)
            return &notes;
    }
    return nullptr;
}

}  // namespace

const wchar_t* ApplyFailureNote(FailureCause cause)
{
    const FailureNotes* notes = NotesOf(cause);
    return notes ? notes->apply : kOtherApplyNote;
}

std::wstring RestoreFailureNote(FailureCause cause)
{
    const FailureNotes* notes = NotesOf(cause);
    const wchar_t* remedy = notes && notes->restoreRemedy ? notes->restoreRemedy : kOtherRestoreRemedy;
    return std::wstring(kRestoreFailed) + remedy + kRestoreAgain;
}

}  // namespace kelvane
