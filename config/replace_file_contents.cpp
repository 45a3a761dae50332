// Replacing a file through a temporary file beside it, written a block at a time and flushed, and ReplaceFileW /
// MoveFileExW.
#include "config/replace_file_contents.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "common/unique_handle.h"
#include "config/file_paths.h"

namespace kelvane {
namespace {

constexpr DWORD kMaxWriteChunk = 1u << 30;   // WriteFile takes a 32-bit count
constexpr int kTemporaryNameAttempts = 100;
constexpr DWORD kAnyoneMayShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kCopyPieceSize = 64 * 1024;

std::atomic<unsigned> temporaryCount{0};

WriteResult LastError() { return WriteResult::FromError(GetLastError()); }

// Another program that holds the file open without write sharing (the game, an editor) is refused here:
// Wine's ReplaceFileW would otherwise move such a file aside regardless.
WriteResult OthersLetUsWrite(const std::wstring& path)
{
    const UniqueFile probe(
        CreateFileW(path.c_str(), GENERIC_WRITE, kAnyoneMayShare, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return probe ? WriteResult() : LastError();
}

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

// A new file beside the target, deleted again unless Keep() is called once it has taken the target's place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::wstring& target) : failure_(FailureCause::Other)
    {
        for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
            std::wstring name = target + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                std::to_wstring(++temporaryCount);
            // CREATE_NEW: a name someone else is using is never overwritten.
            file_ = UniqueFile(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file_) {
                path_ = std::move(name);
                failure_ = WriteResult();
                return;
            }
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
                failure_ = WriteResult::FromError(error);
                return;
            }
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        file_ = UniqueFile();
        if (!path_.empty())
            DeleteFileW(path_.c_str());
    }

    explicit operator bool() const { return !path_.empty(); }
    WriteResult failure() const { return failure_; }   // why no file could be made
    const std::wstring& path() const { return path_; }

    HANDLE file() const { return file_.get(); }

    // Flushes to the disk and closes: afterwards the file holds exactly what was written or the call failed.
    WriteResult FlushAndClose()
    {
        if (!FlushFileBuffers(file_.get()) || !CloseHandle(file_.release()))
            return LastError();
        return WriteResult();
    }

    void Keep() { path_.clear(); }

private:
    std::wstring path_;
    UniqueFile file_;
    WriteResult failure_;
};

WriteResult PutInPlace(const std::wstring& replacement, const std::wstring& target, bool targetExists)
{
    constexpr DWORD kMoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    const auto move = [&] {
        return MoveFileExW(replacement.c_str(), target.c_str(), kMoveFlags) ? WriteResult() : LastError();
    };
    if (!targetExists)
        return move();
    // ReplaceFileW keeps the old file's attributes, security and creation time on the new one.
    if (ReplaceFileW(target.c_str(), replacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr))
        return WriteResult();
    const WriteResult refused = LastError();
    // The target vanished meanwhile (or, under Wine, was moved aside before the failure): the new contents are
    // better than no file at all.
    if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
        return move();
    return refused;
}

}  // namespace

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

WriteResult ReplaceFileContents(const std::wstring& path, const std::function<WriteResult(ContentWriter&)>& write)
{
    const std::wstring target = FullPath(path);
    if (target.empty())
        return FailureCause::Other;

    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            return WriteResult::FromError(error);   // a missing folder, or one we may not look into
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return FailureCause::Other;
    } else if (attributes & FILE_ATTRIBUTE_READONLY) {
        return FailureCause::ReadOnly;
    } else if (const WriteResult probe = OthersLetUsWrite(target); !probe) {
        return probe;
    }

    TemporaryFile temporary(target);
    if (!temporary)
        return temporary.failure();
    ContentWriter writer(temporary.file());
    const WriteResult written = write(writer);
    if (!writer.Drain())   // a failed write to the new file is the cause, whatever `write` made of it
        return writer.result();
    if (!written)
        return written;
    if (const WriteResult flushed = temporary.FlushAndClose(); !flushed)
        return flushed;
    if (const WriteResult placed = PutInPlace(temporary.path(), target, exists); !placed)
        return placed;
    temporary.Keep();
    return WriteResult();
}

WriteResult CopyFileContents(const std::wstring& from, const std::wstring& to)
{
    // Readers only: nobody may change the source while its bytes are copied.
    const UniqueFile source(CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!source || !GetFileSizeEx(source.get(), &size))
        return LastError();
    const std::unique_ptr<char[]> piece(new char[kCopyPieceSize]);
    return ReplaceFileContents(to, [&](ContentWriter& out) -> WriteResult {
        LONGLONG copied = 0;
        for (;;) {
            DWORD read = 0;
            if (!ReadFile(source.get(), piece.get(), kCopyPieceSize, &read, nullptr))
                return LastError();
            if (read == 0)
                return copied == size.QuadPart ? WriteResult() : FailureCause::Other;
            copied += read;
            if (!out.Put(std::string_view(piece.get(), read)))
                return out.result();
        }
    });
}

}  // namespace kelvane
