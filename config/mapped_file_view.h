// A read-only view of a file through a file mapping; only the view itself outlives construction.
#pragma once

#include <cstdint>

#include "common/unique_handle.h"

namespace kelvane {

class MappedFileView {
public:
    // Maps `count` bytes from `offset` (0: to the end of the file). An empty file gives an empty view and no
    // mapping object. Throws win::windows_exception saying which step failed.
    explicit MappedFileView(const wchar_t* path, std::uint64_t offset = 0, std::uint32_t count = 0);
    // Maps the whole of a file already open for reading, which stays the caller's.
    explicit MappedFileView(HANDLE file);
    MappedFileView(const MappedFileView&) = delete;
    MappedFileView& operator=(const MappedFileView&) = delete;

    std::uint64_t size() const { return size_; }
    const char* data() const { return static_cast<const char*>(view_.get()); }

private:
    void Map(HANDLE file, std::uint64_t offset, std::uint32_t count);

    std::uint64_t size_ = 0;
    UniqueView view_;   // unmapped when the view is destroyed
};

}  // namespace kelvane
