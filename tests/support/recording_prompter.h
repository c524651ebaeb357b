// A prompter for tests: records every message box shown and answers with a
// scripted button (OK unless told otherwise). In place for its lifetime.
#pragma once

#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"
#include "platform/ui/win_types.h"

#include <string>
#include <vector>

namespace testing_support
{

class RecordingPrompter final : public platform::Prompter
{
public:
    RecordingPrompter() { platform::SetPrompter(this); }
    ~RecordingPrompter() override { platform::SetPrompter(nullptr); }
    RecordingPrompter(const RecordingPrompter&) = delete;
    RecordingPrompter& operator=(const RecordingPrompter&) = delete;

    int ShowMessageBox(const platform::MessageBoxRequest& request) override
    {
        shown.push_back(request);
        return answer;
    }

    std::vector<std::u16string> Texts() const
    {
        std::vector<std::u16string> texts;
        for (const platform::MessageBoxRequest& request : shown)
            texts.push_back(request.text);
        return texts;
    }

    std::vector<platform::MessageBoxRequest> shown;
    int answer = platform::IDOK;
};

} // namespace testing_support
