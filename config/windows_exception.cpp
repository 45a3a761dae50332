// The Windows failure type: reason text kept inline when short, system message fetched with FormatMessageA.
#include "config/windows_exception.h"

#include <cstring>
#include <string>

namespace kelvane::win {
namespace {

constexpr DWORD kMessageFlags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_MAX_WIDTH_MASK;   // 0x1FF
constexpr DWORD kNeutralLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);                      // 0x400
constexpr char kSeparator[] = ": ";
constexpr char kOutOfMemoryText[] = "Out of memory";
constexpr char kNoMessageText[] = "Windows system error";

bool MeansOutOfMemory(std::uint32_t code) { return code == kErrorOutOfMemory || code == kOutOfMemoryResult; }

bool IsTrailingJunk(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' ' || c == '.'; }

const char* Text(const UniqueLocalMem& message) { return static_cast<const char*>(message.get()); }

}  // namespace

UniqueLocalMem FetchSystemMessage(std::uint32_t code, HMODULE module)
{
    const DWORD source = module ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM;
    char* text = nullptr;
    // With ALLOCATE_BUFFER the buffer argument receives the address of the text the system allocated.
    const DWORD length = FormatMessageA(kMessageFlags | source, module, code, kNeutralLanguage,
                                        reinterpret_cast<char*>(&text), 0, nullptr);
    UniqueLocalMem message(text);
    if (length == 0 || !text)
        return UniqueLocalMem();
    std::size_t kept = length;
    while (kept > 0 && IsTrailingJunk(text[kept - 1]))
        --kept;
    if (kept == 0)
        return UniqueLocalMem();
    text[kept] = '\0';
    return message;
}

windows_exception::windows_exception(const char* reason, std::uint32_t code) : code_(code)
{
    if (MeansOutOfMemory(code) || !reason || !*reason)
        return;
    const UniqueLocalMem message = FetchSystemMessage(code);
    if (!message) {
        SetReason(reason, std::strlen(reason));
        return;
    }
    std::string full(reason);
    full.append(kSeparator).append(Text(message));
    SetReason(full.c_str(), full.size());
}

windows_exception::windows_exception(const windows_exception& other) : os_exception(other), code_(other.code_)
{
    const char* text = other.reason();
    SetReason(text, std::strlen(text));
}

windows_exception& windows_exception::operator=(const windows_exception& other)
{
    if (this != &other) {
        windows_exception copy(other);
        std::memcpy(inlineReason_, copy.inlineReason_, kInlineReasonSize);
        heapReason_ = std::move(copy.heapReason_);
        message_ = UniqueLocalMem();
        code_ = copy.code_;
    }
    return *this;
}

void windows_exception::SetReason(const char* text, std::size_t length)
{
    char* target = inlineReason_;
    if (length + 1 > kInlineReasonSize) {
        heapReason_ = std::make_unique<char[]>(length + 1);
        target = heapReason_.get();
    }
    std::memcpy(target, text, length);
    target[length] = '\0';
}

const char* windows_exception::what() const noexcept
{
    if (*reason())
        return reason();
    if (message_)
        return Text(message_);
    if (MeansOutOfMemory(code_))
        return kOutOfMemoryText;
    message_ = FetchSystemMessage(code_);
    return message_ ? Text(message_) : kNoMessageText;
}

}  // namespace kelvane::win
