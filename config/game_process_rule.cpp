// The game's executable names and the folder comparison; the file system ignores letter case, so do we.
#include "config/game_process_rule.h"

#include <cwctype>

namespace kelvane {
namespace {

constexpr std::wstring_view kNamePrefix = L"wow";
constexpr std::wstring_view kNameSuffix = L".exe";
constexpr std::wstring_view kCrashReporter = L"wowerror.exe";

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t Folded(wchar_t c)
{
    if (c >= L'A' && c <= L'Z')
        return static_cast<wchar_t>(c - L'A' + L'a');
    return c < 0x80 ? c : static_cast<wchar_t>(std::towlower(c));
}

std::wstring_view WithoutTrailingSeparators(std::wstring_view path)
{
    while (!path.empty() && IsSeparator(path.back()))
        path.remove_suffix(1);
    return path;
}

}  // namespace

bool SamePath(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Folded(a[i]) != Folded(b[i]) && !(IsSeparator(a[i]) && IsSeparator(b[i])))
            return false;
    }
    return true;
}

bool IsGameExecutableName(std::wstring_view fileName)
{
    return fileName.size() >= kNamePrefix.size() + kNameSuffix.size() &&
           SamePath(fileName.substr(0, kNamePrefix.size()), kNamePrefix) &&
           SamePath(fileName.substr(fileName.size() - kNameSuffix.size()), kNameSuffix) &&
           !SamePath(fileName, kCrashReporter);
}

bool IsGameProcessImage(std::wstring_view imagePath, std::wstring_view gameFolder)
{
    const std::wstring_view folder = WithoutTrailingSeparators(gameFolder);
    const std::size_t cut = imagePath.find_last_of(L"\\/");
    if (folder.empty() || cut == std::wstring_view::npos)
        return false;
    return IsGameExecutableName(imagePath.substr(cut + 1)) &&
           SamePath(WithoutTrailingSeparators(imagePath.substr(0, cut)), folder);
}

}  // namespace kelvane
