// A failed Windows call: what was being done, and the system's own message for the error code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "common/unique_handle.h"
#include "config/project_exception.h"

namespace kelvane::win {

constexpr std::uint32_t kErrorOutOfMemory = 14;            // ERROR_OUTOFMEMORY
constexpr std::uint32_t kOutOfMemoryResult = 0x8007000E;   // E_OUTOFMEMORY

// The system's text for `code` (from `module` when given), with trailing tabs, line ends, spaces and periods
// removed; an empty owner when there is none.
UniqueLocalMem FetchSystemMessage(std::uint32_t code, HMODULE module = nullptr);

class windows_exception : public os_exception {
public:
    // `reason` may be null. Unless the code means out of memory or the reason is empty, the reason is kept with
    // ": " and the system message appended.
    windows_exception(const char* reason, std::uint32_t code);
    // Copies the reason and the code; the message that what() fetched is fetched again by the copy if needed.
    windows_exception(const windows_exception& other);
    windows_exception& operator=(const windows_exception& other);
    ~windows_exception() override = default;

    // The reason; else the system message; else "Out of memory" or "Windows system error".
    const char* what() const noexcept override;

    std::uint32_t code() const noexcept { return code_; }
    const char* reason() const noexcept { return heapReason_ ? heapReason_.get() : inlineReason_; }

private:
    // Reasons up to this size, NUL included, need no allocation of their own.
    static constexpr std::size_t kInlineReasonSize = 96;

    void SetReason(const char* text, std::size_t length);

    char inlineReason_[kInlineReasonSize] = {};
    std::unique_ptr<char[]> heapReason_;
    mutable UniqueLocalMem message_;   // fetched by what() on first need
    std::uint32_t code_ = 0;
};

}  // namespace kelvane::win
