// Replacing a file through a temporary file of a random name beside it, written a block at a time, flushed, and
// renamed by its handle over the old one: a rename never leaves the name empty, and a file we hold open with delete
// access cannot be opened meanwhile by a scanner that does not share delete.
#include "config/replace_file_contents.h"

#include <windows.h>
#include <aclapi.h>

#include <algorithm>
#include <vector>

#include "common/unique_handle.h"
#include "config/brief_refusals.h"
#include "config/wtf_folder.h"

namespace kelvane {
namespace {

constexpr DWORD kMaxWriteChunk = 1u << 30;   // WriteFile takes a 32-bit count
constexpr DWORD kAnyoneMayShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kCopyPieceSize = 64 * 1024;
constexpr DWORD kTemporaryAccess = GENERIC_WRITE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | WRITE_DAC;
// The old file is looked at, never read or written: its kind, attributes, times and access rules.
constexpr DWORD kInspectAccess = FILE_READ_ATTRIBUTES | READ_CONTROL;
constexpr DWORD kFileAttributesCarried = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

WriteResult Failed(DWORD error) { return WriteResult::FromError(error); }

bool WriteAll(void* file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kMaxWriteChunk));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written != chunk)
            return false;
        bytes.remove_prefix(chunk);
    }
    return true;
}

DWORD RenameByHandle(HANDLE file, const std::wstring& to, bool replace)
{
    const std::size_t nameBytes = to.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = replace;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::copy(to.begin(), to.end(), rename->FileName);
    return SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size()))
               ? 0
               : GetLastError();
}

// An attribute value of 0 would leave the attributes as they are: a file with none is "normal".
DWORD AttributesOrNormal(DWORD attributes) { return attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL; }

DWORD SetAttributes(HANDLE file, FILE_BASIC_INFO basics)
{
    return SetFileInformationByHandle(file, FileBasicInfo, &basics, sizeof(basics)) ? 0 : GetLastError();
}

// The old file's attributes, creation time and access rules go to the new one, as ReplaceFileW would carry them.
DWORD CarryOver(HANDLE from, const FILE_BASIC_INFO& oldBasics, HANDLE to)
{
    FILE_BASIC_INFO basics{};   // times of 0 are left as they are
    basics.CreationTime = oldBasics.CreationTime;
    basics.FileAttributes = AttributesOrNormal(oldBasics.FileAttributes & kFileAttributesCarried);
    if (const DWORD set = SetAttributes(to, basics); set != 0)
        return set;
    PACL rules = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (const DWORD read = GetSecurityInfo(from, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &rules,
                                           nullptr, &descriptor);
        read != ERROR_SUCCESS)
        return read;
    const UniqueLocalMem held(descriptor);   // `rules` points into it
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    // Rules the old file inherited are inherited again from the folder; its own ones are copied.
    const SECURITY_INFORMATION which = DACL_SECURITY_INFORMATION | ((control & SE_DACL_PROTECTED)
                                                                        ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                        : UNPROTECTED_DACL_SECURITY_INFORMATION);
    return SetSecurityInfo(to, SE_FILE_OBJECT, which, nullptr, nullptr, rules, nullptr);
}

// Our new file, open from its making to its swap, so nobody can open it without sharing delete meanwhile; deleted
// by its own handle unless it took the target's name or must stay because the name could not be filled.
class TemporaryFile {
public:
    TemporaryFile(const WtfFolder& folder, const std::wstring& target)
        : error_(folder.MakeTemporary(target, kTemporaryAccess, file_, name_))
    {
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (file_ && !kept_) {
            FILE_DISPOSITION_INFO gone{TRUE};
            SetFileInformationByHandle(file_.get(), FileDispositionInfo, &gone, sizeof(gone));
        }
    }

    DWORD error() const { return error_; }
    HANDLE get() const { return file_.get(); }
    void Keep() { kept_ = true; }

private:
    UniqueFile file_;
    std::wstring name_;
    DWORD error_;
    bool kept_ = false;
};

}  // namespace

// One replacement of a file of a WTF folder, every step through handles checked by the folder.
class FileReplacement {
public:
    FileReplacement(const std::wstring& path, BriefRefusals& waits) : folder_(path), waits_(waits) {}

    WriteResult Run(const ContentWrite& write, const BeforeReplacing& beforeReplacing, ReadOnlyTarget readOnly)
    {
        if (folder_.error() != 0)
            return Failed(folder_.error());
        const std::wstring& name = folder_.fileName();
        UniqueFile old;
        const DWORD looked = folder_.Open(name, kInspectAccess, kAnyoneMayShare, OPEN_EXISTING, old);
        const bool exists = looked == 0;
        if (!exists && looked != ERROR_FILE_NOT_FOUND)
            return Failed(looked);   // a link or a folder in its place, or a refusal
        FILE_BASIC_INFO basics{};
        if (exists && !GetFileInformationByHandleEx(old.get(), FileBasicInfo, &basics, sizeof(basics)))
            return Failed(GetLastError());
        const bool readOnlyNow = exists && (basics.FileAttributes & FILE_ATTRIBUTE_READONLY);
        if (readOnlyNow && readOnly == ReadOnlyTarget::Refused)
            return FailureCause::ReadOnly;

        TemporaryFile temporary(folder_, name);
        if (temporary.error() != 0)
            return Failed(temporary.error());
        ContentWriter writer(temporary.get());
        const WriteResult written = write(writer);
        if (!writer.Drain())   // a failed write to the new file is the cause, whatever `write` made of it
            return writer.result();
        if (!written)
            return written;
        if (!FlushFileBuffers(temporary.get()))
            return Failed(GetLastError());
        if (exists) {
            if (const DWORD carried = CarryOver(old.get(), basics, temporary.get()); carried != 0)
                return Failed(carried);
            if (const DWORD held = waits_.Retry([&] { return Probe(name, readOnlyNow); }); held != 0)
                return Failed(held);
        }
        old = UniqueFile();   // a rename over a file that is open, even by us, is refused
        if (readOnlyNow) {   // a read-only file of ours (an old backup): a rename over it is refused otherwise
            FILE_BASIC_INFO unlocked{};
            unlocked.FileAttributes = AttributesOrNormal(basics.FileAttributes & ~FILE_ATTRIBUTE_READONLY);
            if (const DWORD set = SetAttributesOf(name, unlocked); set != 0)
                return Failed(set);
        }
        const FILE_BASIC_INFO* relock = readOnlyNow ? &basics : nullptr;
        if (beforeReplacing) {
            if (const WriteResult ready = beforeReplacing(); !ready) {
                Relock(name, relock);
                return ready;
            }
        }
        return Swap(temporary, name, exists, relock);
    }

private:
    // Whether the file can be replaced now: nobody holds it without sharing delete (nor, for the player's file,
    // without sharing writes, as the game does while it writes).
    DWORD Probe(const std::wstring& name, bool readOnlyNow) const
    {
        UniqueFile probe;
        return folder_.Open(name, DELETE | (readOnlyNow ? 0 : GENERIC_WRITE), kAnyoneMayShare, OPEN_EXISTING, probe);
    }

    bool NameIsEmpty(const std::wstring& name) const
    {
        UniqueFile look;
        return folder_.Open(name, FILE_READ_ATTRIBUTES, kAnyoneMayShare, OPEN_EXISTING, look) == ERROR_FILE_NOT_FOUND;
    }

    // Through a handle of its own: the handle that looked at the file asks no right to change it, which a
    // read-only file refuses where the platform enforces it.
    DWORD SetAttributesOf(const std::wstring& name, const FILE_BASIC_INFO& basics) const
    {
        UniqueFile file;
        const DWORD opened = folder_.Open(name, FILE_WRITE_ATTRIBUTES, kAnyoneMayShare, OPEN_EXISTING, file);
        return opened != 0 ? opened : SetAttributes(file.get(), basics);
    }

    // Puts back the read-only attribute that the swap took away, when the swap did not happen.
    void Relock(const std::wstring& name, const FILE_BASIC_INFO* relock) const
    {
        if (relock)
            SetAttributesOf(name, *relock);
    }

    WriteResult Swap(TemporaryFile& temporary, const std::wstring& name, bool existed, const FILE_BASIC_INFO* relock)
    {
        const std::wstring target = folder_.PathOf(name);
        // Windows and Wine refuse a rename over a file another program has open with access denied: a hold.
        const DWORD swapped = waits_.Retry([&] { return RenameByHandle(temporary.get(), target, true); }, true);
        if (swapped == 0) {
            temporary.Keep();
            return WriteResult();
        }
        // Whatever took the old file away meanwhile, the name gets contents again before we return.
        if (existed && NameIsEmpty(name)) {
            temporary.Keep();   // never deleted while the name is empty, even if the rename below fails too
            return RenameByHandle(temporary.get(), target, false) == 0 ? WriteResult() : Failed(swapped);
        }
        Relock(name, relock);
        return swapped == ERROR_ACCESS_DENIED ? WriteResult(FailureCause::InUse) : Failed(swapped);
    }

    const WtfFolder folder_;
    BriefRefusals& waits_;
};

ContentWriter::ContentWriter(void* file) : file_(file), block_(new char[kBlockSize]) {}

ContentWriter::~ContentWriter() = default;

WriteResult ContentWriter::result() const
{
    return error_ == 0 ? WriteResult() : WriteResult::FromError(error_);
}

bool ContentWriter::WriteToFile(std::string_view bytes)
{
    if (error_ == 0 && !WriteAll(file_, bytes))
        error_ = std::max<DWORD>(GetLastError(), 1);   // a failure must stay one whatever the code
    return error_ == 0;
}

bool ContentWriter::Drain()
{
    const bool written = WriteToFile(std::string_view(block_.get(), used_));
    used_ = 0;
    return written;
}

bool ContentWriter::PutThroughFile(std::string_view bytes)
{
    if (!Drain())
        return false;
    if (bytes.size() >= kBlockSize)   // a piece as large as the block goes straight to the file
        return WriteToFile(bytes);
    std::memcpy(block_.get(), bytes.data(), bytes.size());
    used_ = bytes.size();
    return true;
}

WriteResult ReplaceFileContents(const std::wstring& path, const ContentWrite& write,
                                const BeforeReplacing& beforeReplacing, ReadOnlyTarget readOnly)
{
    BriefRefusals waits;
    return FileReplacement(path, waits).Run(write, beforeReplacing, readOnly);
}

WriteResult CopyFileContents(const std::wstring& from, const std::wstring& to, ReadOnlyTarget readOnly)
{
    BriefRefusals waits;   // one wait for the source and the target together
    const WtfFolder sourceFolder(from);
    UniqueFile source;
    // Readers only: nobody may change the source while its bytes are copied.
    const DWORD opened = waits.Retry([&] {
        return sourceFolder.Open(sourceFolder.fileName(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, source);
    });
    LARGE_INTEGER size{};
    if (opened != 0)
        return Failed(opened);
    if (!GetFileSizeEx(source.get(), &size))
        return Failed(GetLastError());
    const std::unique_ptr<char[]> piece(new char[kCopyPieceSize]);
    const auto copy = [&](ContentWriter& out) -> WriteResult {
        LONGLONG copied = 0;
        for (;;) {
            DWORD read = 0;
            if (!ReadFile(source.get(), piece.get(), kCopyPieceSize, &read, nullptr))
                return Failed(GetLastError());
            if (read == 0)
                return copied == size.QuadPart ? WriteResult() : FailureCause::Other;
            copied += read;
            if (!out.Put(std::string_view(piece.get(), read)))
                return out.result();
        }
    };
    return FileReplacement(to, waits).Run(copy, nullptr, readOnly);
}

}  // namespace kelvane
