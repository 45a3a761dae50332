// Opens, sizes and maps a file read-only; the file and mapping handles close before the constructor returns.
#include "config/mapped_file_view.h"

#include "config/windows_exception.h"

namespace kelvane {
namespace {

constexpr DWORD kInvalidFileSize = 0xFFFFFFFF;   // a valid low word too, when GetLastError says 0

DWORD High(std::uint64_t value) { return static_cast<DWORD>(value >> 32); }
DWORD Low(std::uint64_t value) { return static_cast<DWORD>(value & 0xFFFFFFFF); }

[[noreturn]] void ThrowLastError(const char* reason)
{
    throw win::windows_exception(reason, GetLastError());
}

}  // namespace

MappedFileView::MappedFileView(const wchar_t* path, std::uint64_t offset, std::uint32_t count)
{
    const UniqueFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_RANDOM_ACCESS, nullptr));
    if (!file)
        ThrowLastError("Failed to open file for mapping");
    Map(file.get(), offset, count);
}

MappedFileView::MappedFileView(HANDLE file) { Map(file, 0, 0); }

void MappedFileView::Map(HANDLE file, std::uint64_t offset, std::uint32_t count)
{
    DWORD sizeHigh = 0;
    SetLastError(NO_ERROR);
    const DWORD sizeLow = GetFileSize(file, &sizeHigh);
    if (sizeLow == kInvalidFileSize) {
        const DWORD error = GetLastError();
        if (error != NO_ERROR)
            throw win::windows_exception("Failed to determine mapped file size", error);
    }
    const std::uint64_t fileSize = (static_cast<std::uint64_t>(sizeHigh) << 32) | sizeLow;
    if (fileSize == 0)
        return;   // a mapping of zero bytes cannot be made, and there is nothing to read

    const std::uint64_t mappingSize = count != 0 ? offset + count : 0;
    const UniqueKernelObject mapping(
        CreateFileMappingA(file, nullptr, PAGE_READONLY, High(mappingSize), Low(mappingSize), nullptr));
    if (!mapping)
        ThrowLastError("Failed to open file mapping");

    view_ = UniqueView(MapViewOfFile(mapping.get(), FILE_MAP_READ, High(offset), Low(offset), count));
    if (!view_)
        ThrowLastError("Failed to map view of file");
    // With count 0 the view runs from the offset to the end, so only that much may be read through it.
    size_ = count != 0 ? count : fileSize - offset;
}

}  // namespace kelvane
