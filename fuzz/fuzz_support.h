// What every parser fuzzer shares: message boxes answered silently, and the
// check that a record can stand in a quote line.
#pragma once

#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

#include <algorithm>
#include <cstdlib>
#include <stdlib.h>
#include <string_view>

namespace fuzzing
{

class SilentPrompter final : public platform::Prompter
{
public:
    int ShowMessageBox(const platform::MessageBoxRequest&) override { return platform::IDOK; }
};

inline void AnswerMessagesSilently()
{
    static SilentPrompter prompter;
    platform::SetPrompter(&prompter);
}

// A record is empty or nine fields, each led by "|", with no line break or
// NUL byte anywhere.
inline void CheckRecord(std::string_view record)
{
    if (record.empty())
        return;
    const bool wellFormed =
        record.front() == '|' && std::count(record.begin(), record.end(), '|') == 9 &&
        record.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
    if (!wellFormed)
        std::abort();
}

// A symbol picked by the input, so that short, one-letter and long ones
// all meet every body.
inline const char* SymbolFor(std::size_t size)
{
    static const char* const symbols[] = {"IBM", "X", "ABCDEFGHIJKL"};
    return symbols[size % 3];
}

} // namespace fuzzing

// Once per program (each fuzzer is one source file): a fixed zone, so that
// the time of parsing needs no zone file on every run.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("TZ", "UTC0", 1);
    return 0;
}
