// The first run publishes its process id beside the mutex; a later start finds that process's dialog by it, so
// no other window with the same title (another program's, or a test's) is ever taken for it.
//
// Both names are the administrators' own: they live in a private namespace whose boundary holds the Administrators
// group, so only an elevated program can make or open them, and each object is owned by the Administrators and
// open to them alone. An ordinary program in the session can thus neither take the lock first nor plant the owner's
// process id. Where the platform has no private namespaces (Wine), the names fall back to the session's own, and an
// object found under them counts only when the Administrators own it: one an ordinary program made first is ignored
// and the dialog opens as it would without the lock.
#include "app/single_instance.h"

#include <sddl.h>
#include <aclapi.h>

#include <cwchar>
#include <iterator>
#include <string>

namespace kelvane {
namespace {

// The same for the 32-bit and the 64-bit program: both would write the same files.
constexpr wchar_t kBoundaryName[] = L"Vantorin Kelvane";
constexpr wchar_t kNamespacePrefix[] = L"VantorinKelvane";
constexpr wchar_t kSessionPrefix[] = L"Local";
constexpr wchar_t kMutexName[] = L"Vantorin Kelvane one dialog";
constexpr wchar_t kOwnerName[] = L"Vantorin Kelvane dialog owner";
// Owned by the Administrators, open to them alone, nothing inherited.
constexpr wchar_t kAdministratorsOnly[] = L"O:BAD:P(A;;GA;;;BA)";
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

struct AdministratorsSid {
    AdministratorsSid() { made = CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, bytes, &size) != FALSE; }
    PSID get() { return made ? bytes : nullptr; }
    BYTE bytes[SECURITY_MAX_SID_SIZE] = {};
    DWORD size = sizeof(bytes);
    bool made = false;
};

bool OwnedByAdministrators(HANDLE object)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD read = GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                                       nullptr, nullptr, &descriptor);
    const UniqueLocalMem held(descriptor);
    AdministratorsSid administrators;
    return read == ERROR_SUCCESS && owner && administrators.get() && EqualSid(owner, administrators.get());
}

// The namespace bound to the Administrators; none where the platform has no private namespaces.
UniquePrivateNamespace OpenAdministratorsNamespace(SECURITY_ATTRIBUTES& attributes)
{
    AdministratorsSid administrators;
    // Wine makes no boundary descriptor, and its CreatePrivateNamespaceW ends the process: it is never reached there.
    HANDLE boundary = administrators.get() ? CreateBoundaryDescriptorW(kBoundaryName, 0) : nullptr;
    if (!boundary)
        return UniquePrivateNamespace();
    const bool bound = AddSIDToBoundaryDescriptor(&boundary, administrators.get()) != FALSE;   // may move it
    const UniqueBoundary owned(boundary);
    if (!bound)
        return UniquePrivateNamespace();
    UniquePrivateNamespace made(CreatePrivateNamespaceW(&attributes, boundary, kNamespacePrefix));
    if (!made && GetLastError() == ERROR_ALREADY_EXISTS)
        made = UniquePrivateNamespace(OpenPrivateNamespaceW(boundary, kNamespacePrefix));
    return made;
}

HWND FindDialogOf(DWORD processId)
{
    Search search{processId, nullptr};
    if (processId != 0)
        EnumWindows(FindOwnersDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Never waits on the dialog's thread: a busy first dialog must not hang this start.
void BringForward(HWND dialog)
{
    if (IsIconic(dialog))
        ShowWindowAsync(dialog, SW_RESTORE);
    SetForegroundWindow(GetLastActivePopup(dialog));   // the folder browser, when one is open over the dialog
}

}  // namespace

SingleInstance::~SingleInstance()
{
    if (owned_)
        ReleaseMutex(mutex_.get());
}

std::wstring SingleInstance::NameOf(const wchar_t* object) const
{
    return std::wstring(namespace_ ? kNamespacePrefix : kSessionPrefix) + L"\\" + object;
}

bool SingleInstance::Claim(DWORD waitMs)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kAdministratorsOnly, SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return true;   // nothing to agree on with another run: the dialog opens as it always did
    const UniqueLocalMem held(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
    namespace_ = OpenAdministratorsNamespace(attributes);
    mutex_ = UniqueKernelObject(CreateMutexW(&attributes, FALSE, NameOf(kMutexName).c_str()));
    if (!mutex_ || !OwnedByAdministrators(mutex_.get())) {
        mutex_ = UniqueKernelObject();   // another's object under the name is no lock of ours
        return true;
    }
    const ULONGLONG deadline = GetTickCount64() + waitMs;
    for (DWORD wait = 0;; wait = kPollMs) {
        // A run that ended without releasing the mutex leaves it abandoned, and then this start owns it.
        const DWORD waited = WaitForSingleObject(mutex_.get(), wait);
        if (waited == WAIT_FAILED)
            return true;   // as without the mutex
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
            owned_ = true;
            PublishOwner(attributes);
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

DWORD SingleInstance::ReadOwner() const
{
    const UniqueKernelObject mapping(
        OpenFileMappingW(FILE_MAP_READ | READ_CONTROL, FALSE, NameOf(kOwnerName).c_str()));
    if (!mapping || !OwnedByAdministrators(mapping.get()))
        return 0;
    const UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof(DWORD)));
    return view ? *static_cast<const volatile DWORD*>(view.get()) : 0;
}

void SingleInstance::PublishOwner(SECURITY_ATTRIBUTES& attributes)
{
    owner_ = UniqueKernelObject(CreateFileMappingW(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0,
                                                   sizeof(DWORD), NameOf(kOwnerName).c_str()));
    if (owner_ && !OwnedByAdministrators(owner_.get()))
        owner_ = UniqueKernelObject();   // another's mapping: our id is not written where it would be trusted
    void* view = owner_ ? MapViewOfFile(owner_.get(), FILE_MAP_WRITE, 0, 0, sizeof(DWORD)) : nullptr;
    if (!view)
        return;
    *static_cast<volatile DWORD*>(view) = GetCurrentProcessId();
    const UniqueView written(view);
}

}  // namespace kelvane
