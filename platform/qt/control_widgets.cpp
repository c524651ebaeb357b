// Widgets of the standard controls: static text, buttons, check boxes,
// group boxes, edits, combo boxes and list boxes. Each shows the layer's
// state; the user's input goes back through the control's input entry point
// (Click, ChooseItem, ...) or its text, posted to the layer's loop.
#include "platform/qt/control_adapters.h"
#include "platform/qt/text.h"
#include "platform/qt/window_mirror.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/edit.h"
#include "platform/ui/input.h"
#include "platform/ui/list_box.h"
#include "platform/ui/static_ctrl.h"
#include "platform/ui/ui_task.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace platform::qt
{

namespace
{

QColor ToQColor(COLORREF colour)
{
    return QColor(static_cast<int>(GetRValue(colour)), static_cast<int>(GetGValue(colour)),
                  static_cast<int>(GetBValue(colour)));
}

// A control text without its mnemonic marks: "&&" is a literal "&", a
// single "&" only marks the next letter.
QString WithoutMnemonic(std::u16string_view text)
{
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == u'&')
        {
            if (i + 1 < text.size() && text[i + 1] == u'&')
            {
                result.append(QLatin1Char('&'));
                ++i;
            }
            continue;
        }
        result.append(QChar(text[i]));
    }
    return result;
}

// Runs `work` on the control of `hwnd`, as a T, from the layer's loop.
template <class T> void PostToControl(HWND hwnd, std::function<void(T&)> work)
{
    PostTask(
        [hwnd, work = std::move(work)]
        {
            if (auto* control = dynamic_cast<T*>(FromHandle(hwnd)))
                work(*control);
        });
}

// ---- static text -------------------------------------------------------------

class StaticWidget final : public QFrame
{
public:
    StaticWidget(HWND hwnd, QWidget* parent) : QFrame(parent), hwnd(hwnd) {}

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QFrame::paintEvent(event);
        auto* control = dynamic_cast<CStatic*>(FromHandle(hwnd));
        if (!control)
            return;
        const ControlColours colours = QueryControlColours(*control);
        QPainter painter(this);
        const QRect area = contentsRect();
        if (colours.answered)
            painter.fillRect(area, ToQColor(colours.fill));
        const DWORD style = control->GetStyle();
        const QString text = (style & SS_NOPREFIX) ? ToQString(control->GetWindowText())
                                                   : WithoutMnemonic(control->GetWindowText());
        int flags = Qt::TextWordWrap;
        switch (style & SS_TYPEMASK)
        {
        case SS_CENTER:
            flags |= Qt::AlignHCenter;
            break;
        case SS_RIGHT:
            flags |= Qt::AlignRight;
            break;
        default:
            flags |= Qt::AlignLeft;
            break;
        }
        flags |= (style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
        if (colours.answered && colours.backMode == OPAQUE)
            painter.fillRect(painter.boundingRect(area, flags, text), ToQColor(colours.textBack));
        painter.setPen(
            control->IsWindowEnabled()
                ? (colours.answered ? ToQColor(colours.text) : palette().windowText().color())
                : palette().color(QPalette::Disabled, QPalette::WindowText));
        painter.drawText(area, flags, text);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            PostToControl<CStatic>(hwnd, [](CStatic& control) { control.Click(); });
    }

private:
    HWND hwnd;
};

class StaticAdapter final : public ControlAdapter
{
public:
    QWidget* Make(Window& window, QWidget* parent, WindowMirror&) override
    {
        auto* widget = new StaticWidget(window.Handle(), parent);
        if ((window.GetExStyle() & WS_EX_STATICEDGE) || (window.GetStyle() & SS_SUNKEN))
        {
            widget->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            widget->setLineWidth(1);
        }
        return widget;
    }
    void SyncText(Window&, QWidget& widget) override { widget.update(); }
    void SyncContent(Window&, QWidget& widget) override { widget.update(); }
};

// ---- buttons -------------------------------------------------------------------

// Check boxes and radio buttons whose state only the layer changes.
template <class Base> class LayerCheckedButton final : public Base
{
public:
    using Base::Base;

protected:
    void nextCheckState() override {}
};

class ButtonAdapter final : public ControlAdapter
{
public:
    QWidget* Make(Window& window, QWidget* parent, WindowMirror&) override
    {
        const HWND hwnd = window.Handle();
        const auto click = [hwnd]
        { PostToControl<CButton>(hwnd, [](CButton& button) { button.Click(); }); };
        switch (window.GetStyle() & BS_TYPEMASK)
        {
        case BS_GROUPBOX:
        {
            auto* box = new QGroupBox(parent);
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            box->setFocusPolicy(Qt::NoFocus);
            return box;
        }
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        {
            auto* box = new LayerCheckedButton<QCheckBox>(parent);
            const DWORD type = window.GetStyle() & BS_TYPEMASK;
            box->setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
            QObject::connect(box, &QAbstractButton::clicked, click);
            return box;
        }
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        {
            auto* radio = new LayerCheckedButton<QRadioButton>(parent);
            radio->setAutoExclusive(false);
            QObject::connect(radio, &QAbstractButton::clicked, click);
            return radio;
        }
        default:
        {
            auto* button = new QPushButton(parent);
            button->setAutoDefault(false); // Enter is the dialog's
            QObject::connect(button, &QAbstractButton::clicked, click);
            return button;
        }
        }
    }

    void SyncText(Window& window, QWidget& widget) override
    {
        if (auto* box = qobject_cast<QGroupBox*>(&widget))
            box->setTitle(WithoutMnemonic(window.GetWindowText()));
        else if (auto* button = qobject_cast<QAbstractButton*>(&widget))
            button->setText(ToQString(window.GetWindowText()));
    }

    void SyncContent(Window& window, QWidget& widget) override
    {
        auto* control = dynamic_cast<CButton*>(&window);
        if (!control)
            return;
        if (auto* push = qobject_cast<QPushButton*>(&widget))
            push->setDefault(control->IsDefaultButton());
        else if (auto* check = qobject_cast<QCheckBox*>(&widget))
            check->setCheckState(control->GetCheck() == BST_CHECKED         ? Qt::Checked
                                 : control->GetCheck() == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                                            : Qt::Unchecked);
        else if (auto* radio = qobject_cast<QRadioButton*>(&widget))
            radio->setChecked(control->GetCheck() == BST_CHECKED);
    }

    bool HandlesKeys() const override { return true; }
};

// ---- edit fields -----------------------------------------------------------------

// While the user's edits are on their way to the layer, the layer's (older)
// text is not pushed back into the widget.
class EditWidget final : public QLineEdit
{
public:
    EditWidget(HWND hwnd, WindowMirror& mirror, QWidget* parent)
        : QLineEdit(parent), hwnd(hwnd), mirror(mirror)
    {
        setFrame(true);
        QObject::connect(this, &QLineEdit::textEdited,
                         [this](const QString& text) { SendText(text); });
        QObject::connect(this, &QLineEdit::selectionChanged, [this] { SendSelection(); });
        QObject::connect(this, &QLineEdit::cursorPositionChanged,
                         [this](int, int) { SendSelection(); });
    }

    void SyncFromLayer(CEdit& edit)
    {
        if (pending > 0)
            return;
        const QString text = ToQString(edit.GetWindowText());
        if (this->text() != text)
            setText(text);
        setMaxLength(edit.GetLimitText());
        setReadOnly(edit.IsReadOnly());
        setEchoMode((edit.GetStyle() & ES_PASSWORD) ? QLineEdit::Password : QLineEdit::Normal);
        if ((edit.GetStyle() & ES_NUMBER) && !validator())
            setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this));
        switch (edit.GetAlignment())
        {
        case ES_CENTER:
            setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
            break;
        case ES_RIGHT:
            setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            break;
        default:
            setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            break;
        }
        setTextMargins(edit.GetLeftMargin(), 0, edit.GetRightMargin(), 0);
        const auto [start, end] = edit.GetSel();
        if (start != end)
            setSelection(start, end - start);
        else
            setCursorPosition(start);
    }

private:
    void SendText(const QString& text)
    {
        ++pending;
        QPointer<EditWidget> self(this);
        const std::u16string newText = FromQString(text);
        const int start = hasSelectedText() ? selectionStart() : cursorPosition();
        const int end = hasSelectedText() ? selectionEnd() : cursorPosition();
        PostToControl<CEdit>(hwnd,
                             [self, newText, start, end](CEdit& edit)
                             {
                                 edit.SetWindowText(newText);
                                 edit.SetSel(start, end, true);
                                 if (self && --self->pending == 0)
                                     self->SyncFromLayer(edit);
                             });
    }

    void SendSelection()
    {
        if (mirror.Applying() || pending > 0)
            return;
        const int start = hasSelectedText() ? selectionStart() : cursorPosition();
        const int end = hasSelectedText() ? selectionEnd() : cursorPosition();
        PostToControl<CEdit>(hwnd,
                             [start, end](CEdit& edit)
                             {
                                 if (edit.GetSel() != std::pair{start, end})
                                     edit.SetSel(start, end, true);
                             });
    }

    HWND hwnd;
    WindowMirror& mirror;
    int pending = 0;
};

class EditAdapter final : public ControlAdapter
{
public:
    QWidget* Make(Window& window, QWidget* parent, WindowMirror& mirror) override
    {
        return new EditWidget(window.Handle(), mirror, parent);
    }
    void SyncText(Window& window, QWidget& widget) override { SyncContent(window, widget); }
    void SyncContent(Window& window, QWidget& widget) override
    {
        if (auto* edit = dynamic_cast<CEdit*>(&window))
            static_cast<EditWidget&>(widget).SyncFromLayer(*edit);
    }
    bool HandlesKeys() const override { return true; }
};

// ---- combo boxes ---------------------------------------------------------------

class ComboWidget final : public QComboBox
{
public:
    ComboWidget(HWND hwnd, bool editable, QWidget* parent) : QComboBox(parent), hwnd(hwnd)
    {
        setEditable(editable);
        setInsertPolicy(QComboBox::NoInsert);
        QObject::connect(this, &QComboBox::activated,
                         [hwnd](int index) {
                             PostToControl<CComboBox>(hwnd, [index](CComboBox& combo)
                                                      { combo.ChooseItem(index); });
                         });
        if (editable)
            QObject::connect(lineEdit(), &QLineEdit::textEdited,
                             [this](const QString& text) { SendText(text); });
    }

    void SyncFromLayer(CComboBox& combo)
    {
        bool same = count() == combo.GetCount();
        for (int i = 0; same && i < count(); ++i)
            same = itemText(i) == ToQString(combo.GetLBText(i));
        if (!same)
        {
            clear();
            for (int i = 0; i < combo.GetCount(); ++i)
                addItem(ToQString(combo.GetLBText(i)));
        }
        if (pending > 0)
            return;
        setCurrentIndex(combo.GetCurSel());
        const QString text = ToQString(combo.GetWindowText());
        if (isEditable() && currentText() != text)
            setEditText(text);
        if (isEditable())
            lineEdit()->setMaxLength(std::min(combo.GetLimitText(), 32767));
    }

private:
    void SendText(const QString& text)
    {
        ++pending;
        QPointer<ComboWidget> self(this);
        const std::u16string typed = FromQString(text);
        PostToControl<CComboBox>(hwnd,
                                 [self, typed](CComboBox& combo)
                                 {
                                     // The user's whole text replaces the field's.
                                     combo.SetEditSel(0, -1);
                                     if (typed.empty())
                                         PressKey(VK_DELETE, 0, combo.Handle());
                                     else
                                         combo.TypeText(typed);
                                     if (self && --self->pending == 0)
                                         self->SyncFromLayer(combo);
                                 });
    }

    HWND hwnd;
    int pending = 0;
};

class ComboAdapter final : public ControlAdapter
{
public:
    QWidget* Make(Window& window, QWidget* parent, WindowMirror&) override
    {
        const auto* combo = dynamic_cast<CComboBox*>(&window);
        return new ComboWidget(window.Handle(), combo && combo->HasEditField(), parent);
    }
    void SyncText(Window& window, QWidget& widget) override { SyncContent(window, widget); }
    void SyncContent(Window& window, QWidget& widget) override
    {
        if (auto* combo = dynamic_cast<CComboBox*>(&window))
            static_cast<ComboWidget&>(widget).SyncFromLayer(*combo);
    }
    // A template gives a combo box the height of its open list; the closed
    // box is as tall as Qt draws it.
    QRect Geometry(const RECT& rect, QWidget& widget) override
    {
        return QRect(rect.left, rect.top, rect.Width(), widget.sizeHint().height());
    }
    bool HandlesKeys() const override { return true; }
};

// ---- list boxes ------------------------------------------------------------------

class ListBoxAdapter final : public ControlAdapter
{
public:
    QWidget* Make(Window& window, QWidget* parent, WindowMirror& mirror) override
    {
        auto* list = new QListWidget(parent);
        const HWND hwnd = window.Handle();
        QObject::connect(list, &QListWidget::currentRowChanged,
                         [hwnd, &mirror](int row)
                         {
                             if (mirror.Applying() || row < 0)
                                 return;
                             PostToControl<CListBox>(hwnd,
                                                     [row](CListBox& box)
                                                     {
                                                         if (box.GetCurSel() != row)
                                                             box.ChooseItem(row);
                                                     });
                         });
        QObject::connect(list, &QListWidget::itemDoubleClicked,
                         [hwnd, list](QListWidgetItem* item)
                         {
                             const int row = list->row(item);
                             PostToControl<CListBox>(hwnd, [row](CListBox& box)
                                                     { box.DoubleClickItem(row); });
                         });
        return list;
    }
    void SyncContent(Window& window, QWidget& widget) override
    {
        auto* box = dynamic_cast<CListBox*>(&window);
        auto& list = static_cast<QListWidget&>(widget);
        if (!box)
            return;
        bool same = list.count() == box->GetCount();
        for (int i = 0; same && i < list.count(); ++i)
            same = list.item(i)->text() == ToQString(box->GetText(i));
        if (!same)
        {
            list.clear();
            for (int i = 0; i < box->GetCount(); ++i)
                list.addItem(ToQString(box->GetText(i)));
        }
        list.setCurrentRow(box->GetCurSel());
    }
    bool HandlesKeys() const override { return true; }
};

} // namespace

void RegisterControlAdapters(WindowMirror& mirror)
{
    mirror.Register("Static", std::make_unique<StaticAdapter>());
    mirror.Register("Button", std::make_unique<ButtonAdapter>());
    mirror.Register("Edit", std::make_unique<EditAdapter>());
    mirror.Register("ComboBox", std::make_unique<ComboAdapter>());
    mirror.Register("ListBox", std::make_unique<ListBoxAdapter>());
    mirror.Register("SysListView32", MakeListViewAdapter());
    mirror.Register("SysHeader32", MakeHeaderAdapter());
}

} // namespace platform::qt
