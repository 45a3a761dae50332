// Puts new contents in place of a file in one step, so the file is never seen cut short or half written.
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Writes `bytes` to a new file beside `path`, flushes it and swaps it in for `path` (created when missing).
// True when the new contents are in place. On any failure the file at `path` is left as it was and nothing
// else stays behind. A read-only file, a folder, or a file that another program holds open without letting
// others write is refused before anything is written.
bool ReplaceFileContents(const std::wstring& path, std::string_view bytes);

}  // namespace kelvane
