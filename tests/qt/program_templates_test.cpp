// The program's own dialog templates on screen: every control gets a
// widget inside the dialog, and a picture of each is written.
#include "qt_test_support.h"

#include "platform/ui/dialog.h"
#include "res/brindle_resources.h"
#include "res/resource.h"

#include <QWidget>

#include <string>

using namespace platform;

namespace
{

using ProgramTemplatesTest = qt_testing::QtTest;

TEST_F(ProgramTemplatesTest, EveryTemplateShowsAllItsControlsInsideTheWindow)
{
    LoadBrindleResources();
    const std::pair<UINT, const char*> templates[] = {{IDD_BRINDLE_DIALOG, "template_main"},
                                                      {IDD_SETUP, "template_setup"},
                                                      {IDD_FOLIO_EDIT, "template_folio_edit"},
                                                      {IDD_ABOUTBOX, "template_about"}};
    for (auto [id, picture] : templates)
    {
        SCOPED_TRACE(picture);
        CDialogEx dialog(id);
        ASSERT_TRUE(dialog.CreateFromTemplate());
        QWidget* top = WidgetOf(dialog.Handle());
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->windowTitle().toStdU16String(), dialog.GetWindowText());
        for (HWND child : dialog.Children())
        {
            QWidget* widget = WidgetOf(child);
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(widget->window(), top);
            if (widget->isVisible())
            {
                EXPECT_TRUE(top->rect().contains(widget->geometry()))
                    << "control " << FromHandle(child)->GetDlgCtrlID();
            }
        }
        qt_testing::SaveScreenshot(*top, picture);
        dialog.Destroy();
    }
}

} // namespace
