// Conversions between the dialog's UTF-16 text and the byte strings that config.wtf entries hold.
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Each UTF-16 unit up to the first NUL as one to three bytes; surrogates are encoded one unit at a time.
std::string EncodeUtf8(std::wstring_view text);

// The value's bytes as UTF-16 units, one unit per sequence, up to a NUL byte or the end of the value. Malformed
// lead bytes, four- to six-byte sequences and a sequence cut off by the end of the value each give one '?'.
std::wstring DecodeUtf8(std::string_view bytes);

}  // namespace kelvane
