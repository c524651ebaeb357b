#include "platform/qt/qt_prompter.h"

#include "platform/qt/text.h"
#include "platform/qt/window_mirror.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/messages.h"
#include "platform/ui/ui_task.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWindow>

namespace platform::qt
{

namespace
{

QMessageBox::Icon IconOf(UINT type)
{
    switch (type & MB_ICONMASK)
    {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int QtPrompter::ShowMessageBox(const MessageBoxRequest& request)
{
    QWidget* owner = mirror.WidgetOf(request.owner);
    if (!owner)
        owner = QApplication::activeWindow();
    // No Qt parent: the owner's widget may go away while the box is open
    // (its window destroyed by a message dispatched meanwhile).
    QMessageBox box(IconOf(request.type), ToQString(request.caption), ToQString(request.text),
                    QMessageBox::NoButton, nullptr);
    if (owner)
    {
        box.winId();
        if (QWindow* ownerWindow = owner->window()->windowHandle())
            box.windowHandle()->setTransientParent(ownerWindow);
    }
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    int escapeAnswer = IDOK;
    switch (request.type & MB_TYPEMASK)
    {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        escapeAnswer = IDCANCEL;
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        escapeAnswer = IDNO;
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    }

    int answer = 0;
    QObject::connect(&box, &QMessageBox::finished,
                     [&](int)
                     {
                         QAbstractButton* clicked = box.clickedButton();
                         switch (clicked ? box.standardButton(clicked) : QMessageBox::NoButton)
                         {
                         case QMessageBox::Ok:
                             answer = IDOK;
                             break;
                         case QMessageBox::Cancel:
                             answer = IDCANCEL;
                             break;
                         case QMessageBox::Yes:
                             answer = IDYES;
                             break;
                         case QMessageBox::No:
                             answer = IDNO;
                             break;
                         default:
                             answer = escapeAnswer;
                             break;
                         }
                         PostTask([] {}); // the loop below checks its end
                     });
    box.show();
    RunMessageLoopUntil([&] { return answer != 0; });
    return answer;
}

} // namespace platform::qt
