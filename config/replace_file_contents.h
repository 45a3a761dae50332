// Puts new contents in place of a file in one step, so the file is never seen cut short or half written.
#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "config/write_result.h"

namespace kelvane {

// Takes the new contents piece by piece and writes them to the new file a block at a time, so a large file is
// never held in memory whole. Made only by ReplaceFileContents.
class ContentWriter {
public:
    ContentWriter(const ContentWriter&) = delete;
    ContentWriter& operator=(const ContentWriter&) = delete;
    ~ContentWriter();

    // False once a write to the file has failed; nothing more is written then, and result() tells why.
    bool Put(std::string_view bytes)
    {
        if (bytes.size() <= kBlockSize - used_) {   // the common case: a short piece that fits the block
            std::memcpy(block_.get() + used_, bytes.data(), bytes.size());
            used_ += bytes.size();
            return true;
        }
        return PutThroughFile(bytes);
    }

    WriteResult result() const;

private:
    friend class FileReplacement;
    static constexpr std::size_t kBlockSize = 256 * 1024;

    explicit ContentWriter(void* file);
    bool PutThroughFile(std::string_view bytes);
    bool WriteToFile(std::string_view bytes);   // nothing once a write has failed
    bool Drain();                               // writes what the block holds

    void* file_;
    std::unique_ptr<char[]> block_;
    std::size_t used_ = 0;
    unsigned long error_ = 0;   // the Windows error of the first write that failed, 0 while none did
};

using ContentWrite = std::function<WriteResult(ContentWriter&)>;
// Called once the new contents are written, flushed and about to take the file's place, and the file is found
// replaceable: the moment to take a backup. A failure it answers leaves the file as it was.
using BeforeReplacing = std::function<WriteResult()>;

// What a read-only file at the target means: a refusal (the player's config.wtf), or a file of ours to replace.
enum class ReadOnlyTarget { Refused, Replaced };

// Has `write` put the new contents through a ContentWriter into a new file of a random name beside `path`, flushes
// it and renames it by its handle over `path` (created when missing), carrying over the old file's attributes,
// times and access rules; the name never stands empty. Succeeds when the new contents are in place. When `write`,
// `beforeReplacing` or anything else fails, the file at `path` is left as it was, nothing else stays behind, and the
// result names the cause of the first failure. A link, mount point or second name in place of the file, a folder
// there, or a folder of the file that is not on a drive is refused (Link, Other) before anything is read or written
// through it. A brief hold by another program is waited out for about two seconds; a longer one is InUse. May
// throw std::bad_alloc before anything is written.
WriteResult ReplaceFileContents(const std::wstring& path, const ContentWrite& write,
                                const BeforeReplacing& beforeReplacing = nullptr,
                                ReadOnlyTarget readOnly = ReadOnlyTarget::Refused);

// Copies the file at `from` over `to` the same way: succeeds when `to` holds every byte of `from`. A source that
// cannot be read whole, that another program holds open for writing, or that is not the regular file of its name
// (a link in its place) is not copied; on any failure `to` stays as it was.
WriteResult CopyFileContents(const std::wstring& from, const std::wstring& to,
                             ReadOnlyTarget readOnly = ReadOnlyTarget::Refused);

}  // namespace kelvane
