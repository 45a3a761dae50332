// The first run publishes its process id beside the mutex; a later start finds that process's dialog by it, so
// no other window with the same title (another program's, or a test's) is ever taken for it.
#include "app/single_instance.h"

#include <cwchar>
#include <iterator>

namespace kelvane {
namespace {

// Session-wide names, the same for the 32-bit and the 64-bit program: both would write the same files.
constexpr wchar_t kMutexName[] = L"Local\\Vantorin Kelvane one dialog";
constexpr wchar_t kOwnerName[] = L"Local\\Vantorin Kelvane dialog owner";
constexpr DWORD kPollMs = 50;
constexpr wchar_t kDialogClass[] = L"#32770";

struct Search {
    DWORD processId;
    HWND found;
};

// The owner's dialog: its top-level, unowned, visible dialog (the folder browser is owned by it).
BOOL CALLBACK FindOwnersDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    if (process != search->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER) ||
        std::wcscmp(className, kDialogClass) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

DWORD ReadOwner()
{
    const UniqueKernelObject mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, kOwnerName));
    const UniqueView view(mapping ? MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof(DWORD)) : nullptr);
    return view ? *static_cast<const volatile DWORD*>(view.get()) : 0;
}

HWND FindDialogOf(DWORD processId)
{
    Search search{processId, nullptr};
    if (processId != 0)
        EnumWindows(FindOwnersDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void BringForward(HWND dialog)
{
    if (IsIconic(dialog))
        ShowWindow(dialog, SW_RESTORE);
    SetForegroundWindow(GetLastActivePopup(dialog));   // the folder browser, when one is open over the dialog
}

}  // namespace

SingleInstance::~SingleInstance()
{
    if (owned_)
        ReleaseMutex(mutex_.get());
}

bool SingleInstance::Claim(DWORD waitMs)
{
    mutex_ = UniqueKernelObject(CreateMutexW(nullptr, FALSE, kMutexName));
    if (!mutex_)
        return true;   // nothing to agree on with another run: the dialog opens as it always did
    const ULONGLONG deadline = GetTickCount64() + waitMs;
    for (DWORD wait = 0;; wait = kPollMs) {
        // A run that ended without releasing the mutex leaves it abandoned, and then this start owns it.
        const DWORD waited = WaitForSingleObject(mutex_.get(), wait);
        if (waited == WAIT_FAILED)
            return true;   // as without the mutex
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
            owned_ = true;
            PublishOwner();
            return true;
        }
        if (const HWND dialog = FindDialogOf(ReadOwner())) {
            BringForward(dialog);
            return false;
        }
        if (GetTickCount64() >= deadline)
            return false;
    }
}

void SingleInstance::PublishOwner()
{
    owner_ = UniqueKernelObject(
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD), kOwnerName));
    void* view = owner_ ? MapViewOfFile(owner_.get(), FILE_MAP_WRITE, 0, 0, sizeof(DWORD)) : nullptr;
    if (!view)
        return;
    *static_cast<volatile DWORD*>(view) = GetCurrentProcessId();
    const UniqueView written(view);
}

}  // namespace kelvane
