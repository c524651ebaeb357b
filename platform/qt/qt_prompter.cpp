#include "platform/qt/qt_prompter.h"

#include "platform/qt/text.h"
#include "platform/qt/window_mirror.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/messages.h"
#include "platform/ui/ui_task.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

#include <map>

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

QMessageBox::StandardButton ButtonOf(int answer)
{
    switch (answer)
    {
    case IDCANCEL:
        return QMessageBox::Cancel;
    case IDYES:
        return QMessageBox::Yes;
    case IDNO:
        return QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

// Keeps Escape from a box that has no Escape answer (Yes/No).
class SwallowEscape final : public QObject
{
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        return (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    }
};

// Ends a wait in a layer loop: the loop checks its condition after the
// next message it dispatches.
void WakeLayerLoop()
{
    PostTask([] {});
}

void AddItems(QMenu& menu, const CMenu& source, std::map<QAction*, UINT>& ids)
{
    for (const CMenu::Item& item : source.Items())
    {
        if (item.IsSeparator())
        {
            menu.addSeparator();
            continue;
        }
        if (item.IsPopup())
        {
            QMenu* sub = menu.addMenu(ToQString(item.text));
            sub->setEnabled(!item.IsGrayed());
            AddItems(*sub, *item.submenu, ids);
            continue;
        }
        QAction* action = menu.addAction(ToQString(item.text));
        action->setEnabled(!item.IsGrayed());
        if (item.IsChecked())
        {
            action->setCheckable(true);
            action->setChecked(true);
        }
        ids[action] = item.id;
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
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    if (owner)
    {
        box.winId();
        if (QWindow* ownerWindow = owner->window()->windowHandle())
            box.windowHandle()->setTransientParent(ownerWindow);
    }
    std::map<QAbstractButton*, int> answers;
    for (int answer : MessageBoxButtons(request.type))
        answers[box.addButton(ButtonOf(answer))] = answer;
    box.setDefaultButton(ButtonOf(MessageBoxDefaultAnswer(request.type)));
    const int escapeAnswer = MessageBoxEscapeAnswer(request.type);
    SwallowEscape swallow;
    if (escapeAnswer != 0)
    {
        box.setEscapeButton(ButtonOf(escapeAnswer));
    }
    else
    {
        // Only a button answers a Yes/No box: no Escape, no close box.
        box.installEventFilter(&swallow);
        box.setWindowFlags((box.windowFlags() | Qt::CustomizeWindowHint) &
                           ~Qt::WindowCloseButtonHint);
    }

    int answer = 0;
    QObject::connect(&box, &QMessageBox::buttonClicked,
                     [&](QAbstractButton* button)
                     {
                         auto it = answers.find(button);
                         answer = it != answers.end() ? it->second : escapeAnswer;
                         WakeLayerLoop();
                     });
    QObject::connect(&box, &QMessageBox::finished,
                     [&](int)
                     {
                         if (answer == 0)
                             answer = escapeAnswer != 0 ? escapeAnswer
                                                        : MessageBoxDefaultAnswer(request.type);
                         WakeLayerLoop();
                     });
    box.show();
    RunMessageLoopUntil([&] { return answer != 0; });
    return answer;
}

UINT QtPrompter::ShowPopupMenu(const MenuRequest& request)
{
    if (!request.menu)
        return 0;
    QMenu menu;
    std::map<QAction*, UINT> ids;
    AddItems(menu, *request.menu, ids);
    UINT chosen = 0;
    bool closed = false;
    for (auto [action, id] : ids)
        QObject::connect(action, &QAction::triggered,
                         [&, id = id]
                         {
                             chosen = id;
                             closed = true;
                             menu.hide();
                             WakeLayerLoop();
                         });
    QObject::connect(&menu, &QMenu::aboutToHide,
                     [&]
                     {
                         closed = true;
                         WakeLayerLoop();
                     });
    menu.popup(QPoint(request.at.x, request.at.y));
    // A click hides the menu and triggers its action in the same Qt
    // handler, so the choice is there once the loop sees the menu closed.
    RunMessageLoopUntil([&] { return closed; });
    return chosen;
}

} // namespace platform::qt
