#include "platform/ui/clipboard.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"
#include "platform/ui/scripted_prompter.h"
#include "platform/ui/window.h"

#include <gtest/gtest.h>

using namespace platform;

namespace
{

TEST(MessageBoxTest, ScriptedAnswersAndWhatWasShown)
{
    ScriptedPrompter prompter;
    prompter.Answer(IDCANCEL);
    prompter.Answer(IDNO);
    EXPECT_EQ(MessageBox(HWND{}, u"Request failed", u"Title", MB_OKCANCEL | MB_ICONERROR),
              IDCANCEL);
    EXPECT_EQ(AfxMessageBox(u"Sure you want to:\nDELETE this PortFolio?", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox(u"Unscripted"), IDOK);
    EXPECT_EQ(AfxMessageBox(u"Unscripted question", MB_YESNO), IDYES);

    const auto& boxes = prompter.Boxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, u"Request failed");
    EXPECT_EQ(boxes[0].caption, u"Title");
    EXPECT_EQ(boxes[0].Buttons(), (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(boxes[0].Icon(), MB_ICONERROR);
    EXPECT_EQ(boxes[1].caption, AppTitle());
    EXPECT_EQ(boxes[1].Buttons(), (std::vector<int>{IDYES, IDNO}));
    // AfxMessageBox gives a box without an icon the framework's icon.
    EXPECT_EQ(boxes[1].Icon(), MB_ICONQUESTION);
    EXPECT_EQ(boxes[2].Icon(), MB_ICONEXCLAMATION);
    EXPECT_EQ(prompter.UnusedAnswers(), 0u);
}

TEST(MessageBoxTest, AnswerThatIsNotAButtonOfTheBoxCountsAsEscape)
{
    ScriptedPrompter prompter;
    prompter.Answer(IDYES);
    prompter.Answer(IDCANCEL);
    prompter.Answer(IDOK);
    EXPECT_EQ(MessageBox(HWND{}, u"a", u"", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBox(HWND{}, u"b", u"", MB_OK), IDOK);
    // Yes/No cannot be escaped: the default button answers.
    EXPECT_EQ(MessageBox(HWND{}, u"c", u"", MB_YESNO | MB_DEFBUTTON2), IDNO);
}

TEST(MessageBoxTest, OwnerIsDisabledWhileTheBoxIsOpen)
{
    Window owner;
    owner.Create(CreateParams{.style = WS_POPUP | WS_VISIBLE});
    ScriptedPrompter prompter;
    bool enabledWhileOpen = true;
    prompter.Answer(
        [&](const MessageBoxRequest& request)
        {
            enabledWhileOpen = FromHandle(request.owner)->IsWindowEnabled();
            return IDOK;
        });
    MessageBox(owner.Handle(), u"x", u"", MB_OK);
    EXPECT_FALSE(enabledWhileOpen);
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST(MessageBoxTest, PrompterIsRestoredWhenTheScriptEnds)
{
    Prompter* before = &CurrentPrompter();
    {
        ScriptedPrompter prompter;
        EXPECT_EQ(&CurrentPrompter(), &prompter);
    }
    EXPECT_EQ(&CurrentPrompter(), before);
}

TEST(ClipboardTest, HoldsUnicodeText)
{
    EXPECT_TRUE(SetClipboardText(u"Symbol\tLast\r\nIBM\t121.50 \u20ac"));
    EXPECT_EQ(GetClipboardText(), std::u16string(u"Symbol\tLast\r\nIBM\t121.50 \u20ac"));
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_FALSE(GetClipboardText().has_value());
}

} // namespace
