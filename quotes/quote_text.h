// Number and text helpers shared by the response parsers and the quote grid.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The C library's text-to-number conversion in the "C" locale, whatever
// locale the process runs in: leading blanks skipped, the longest numeric
// prefix read, 0 when there is none. Stops at a NUL byte.
double TextToNumber(std::string_view text);

// `value` with `decimals` digits after the point, as "%.*f" prints it in the
// "C" locale (for example 1.25, -0.25, 1234.00).
std::string FormatFixed(double value, int decimals);

// A parser's record: "|" followed by fields 1 to 9 of `fields` joined with
// "|" (field 0 is left out; the handler puts the symbol in front). Bytes
// that would break the line apart (the "|" separator, CR, LF, NUL) are left
// out of the values.
std::string JoinRecord(const std::array<std::string, 10>& fields);

// The quote line a result handler stores: the symbol followed by the
// record, accepted only when longer than 10 characters. A long symbol with
// an empty record is refused too: it would store the bare symbol, without a
// single field, in place of its line.
std::optional<std::string> AcceptedQuoteLine(std::string_view symbol, std::string_view record);

// A response body as message box text: decoded with the 8-bit code page,
// up to its first NUL byte (as "%s" shows it) and at most a few thousand
// characters, so that a huge body cannot make the box unusable.
std::u16string BodyForMessage(std::string_view body);
