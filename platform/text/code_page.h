// Text conversions. The thread's 8-bit code page is ISO-8859-1, so a byte
// decodes to the code unit of the same value and ASCII passes unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform
{

// 8-bit text of the thread's code page to UTF-16.
std::u16string DecodeAnsi(std::string_view bytes);

// UTF-16 to the thread's code page; a character the code page lacks
// becomes "?".
std::string EncodeAnsi(std::u16string_view text);

// UTF-8 to UTF-16; nothing when the bytes are not valid UTF-8.
std::optional<std::u16string> Utf8ToUtf16(std::string_view bytes);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// True when the text holds an unpaired surrogate (which UTF-8 cannot carry).
bool HasUnpairedSurrogate(std::u16string_view text);

} // namespace platform
