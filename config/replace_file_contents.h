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
    friend WriteResult ReplaceFileContents(const std::wstring&, const std::function<WriteResult(ContentWriter&)>&);
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

// Has `write` put the new contents through a ContentWriter into a new file beside `path`, flushes that file and
// swaps it in for `path` (created when missing). Succeeds when the new contents are in place. When `write` fails,
// or anything else does, the file at `path` is left as it was, nothing else stays behind, and the result names the
// cause of the first failure. A read-only file, a folder, or a file that another program holds open without letting
// others write is refused before anything is written. May throw std::bad_alloc before anything is written.
WriteResult ReplaceFileContents(const std::wstring& path, const std::function<WriteResult(ContentWriter&)>& write);

// Copies the file at `from` over `to` the same way: succeeds when `to` holds every byte of `from`. A source that
// cannot be read whole, or that another program holds open for writing, is not copied; on any failure `to` stays as
// it was.
WriteResult CopyFileContents(const std::wstring& from, const std::wstring& to);

}  // namespace kelvane
