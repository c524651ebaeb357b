#include "platform/ui/dialog_template.h"

#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/edit.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_view.h"
#include "platform/ui/static_ctrl.h"
#include "platform/ui/window.h"

#include <atomic>
#include <map>
#include <mutex>

namespace platform
{

namespace
{

RECT Box(int x, int y, int cx, int cy)
{
    return RECT{x, y, x + cx, y + cy};
}

// A window of a class nobody registered: it keeps the template's state and
// names its class, so a backend can still show something.
class GenericControl final : public Window
{
public:
    explicit GenericControl(std::string name) : name(std::move(name)) {}
    std::string_view ClassName() const override { return name; }

private:
    std::string name;
};

struct Resources
{
    std::mutex mutex;
    std::map<UINT, std::unique_ptr<DialogTemplate>> templates;
    std::map<UINT, std::u16string> strings;
    std::map<std::string, ControlFactory, std::less<>> factories;

    Resources()
    {
        factories.emplace(kStaticClass, [] { return std::make_unique<CStatic>(); });
        factories.emplace(kButtonClass, [] { return std::make_unique<CButton>(); });
        factories.emplace(kEditClass, [] { return std::make_unique<CEdit>(); });
        factories.emplace(kComboBoxClass, [] { return std::make_unique<CComboBox>(); });
        factories.emplace(kListBoxClass, [] { return std::make_unique<CListBox>(); });
        factories.emplace(kListViewClass, [] { return std::make_unique<CListCtrl>(); });
    }
};

Resources& TheResources()
{
    static Resources resources;
    return resources;
}

int MulDivRound(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}

} // namespace

ControlTemplate LText(int id, std::u16string text, int x, int y, int cx, int cy, DWORD style,
                      DWORD exStyle)
{
    return ControlTemplate{id,
                           std::string(kStaticClass),
                           std::move(text),
                           Box(x, y, cx, cy),
                           SS_LEFT | WS_VISIBLE | WS_GROUP | style,
                           exStyle};
}

ControlTemplate RText(int id, std::u16string text, int x, int y, int cx, int cy, DWORD style,
                      DWORD exStyle)
{
    return ControlTemplate{id,
                           std::string(kStaticClass),
                           std::move(text),
                           Box(x, y, cx, cy),
                           SS_RIGHT | WS_VISIBLE | WS_GROUP | style,
                           exStyle};
}

ControlTemplate PushButton(int id, std::u16string text, int x, int y, int cx, int cy, DWORD style)
{
    return ControlTemplate{id, std::string(kButtonClass), std::move(text), Box(x, y, cx, cy),
                           BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP | style};
}

ControlTemplate DefPushButton(int id, std::u16string text, int x, int y, int cx, int cy,
                              DWORD style)
{
    return ControlTemplate{id, std::string(kButtonClass), std::move(text), Box(x, y, cx, cy),
                           BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP | style};
}

ControlTemplate CheckBox(int id, std::u16string text, int x, int y, int cx, int cy, DWORD style)
{
    return ControlTemplate{id, std::string(kButtonClass), std::move(text), Box(x, y, cx, cy),
                           BS_AUTOCHECKBOX | WS_VISIBLE | WS_TABSTOP | style};
}

ControlTemplate GroupBox(std::u16string text, int x, int y, int cx, int cy, int id)
{
    return ControlTemplate{id, std::string(kButtonClass), std::move(text), Box(x, y, cx, cy),
                           BS_GROUPBOX | WS_VISIBLE};
}

ControlTemplate EditText(int id, int x, int y, int cx, int cy, DWORD style)
{
    return ControlTemplate{id,
                           std::string(kEditClass),
                           {},
                           Box(x, y, cx, cy),
                           ES_LEFT | WS_BORDER | WS_VISIBLE | WS_TABSTOP | style};
}

ControlTemplate ComboBox(int id, int x, int y, int cx, int cy, DWORD style,
                         std::vector<std::u16string> items)
{
    ControlTemplate control{
        id, std::string(kComboBoxClass), {}, Box(x, y, cx, cy), WS_VISIBLE | style};
    control.items = std::move(items);
    return control;
}

ControlTemplate ListBox(int id, int x, int y, int cx, int cy, DWORD style)
{
    return ControlTemplate{
        id, std::string(kListBoxClass), {}, Box(x, y, cx, cy), WS_BORDER | WS_VISIBLE | style};
}

ControlTemplate Control(int id, std::string className, std::u16string text, int x, int y, int cx,
                        int cy, DWORD style, DWORD exStyle)
{
    return ControlTemplate{id,     std::move(className), std::move(text), Box(x, y, cx, cy), style,
                           exStyle};
}

namespace
{
// Dialog base units: one of the user-interface thread's settings.
std::atomic<int> baseUnitX{6};
std::atomic<int> baseUnitY{13};
} // namespace

void SetDialogBaseUnits(int cx, int cy)
{
    baseUnitX = cx > 0 ? cx : 6;
    baseUnitY = cy > 0 ? cy : 13;
}

int DialogUnitsToPixelsX(int x)
{
    return MulDivRound(x, baseUnitX, 4);
}

int DialogUnitsToPixelsY(int y)
{
    return MulDivRound(y, baseUnitY, 8);
}

RECT MapDialogRect(const RECT& r)
{
    return RECT{DialogUnitsToPixelsX(r.left), DialogUnitsToPixelsY(r.top),
                DialogUnitsToPixelsX(r.right), DialogUnitsToPixelsY(r.bottom)};
}

void RegisterDialogTemplate(DialogTemplate dialogTemplate)
{
    Resources& resources = TheResources();
    std::lock_guard lock(resources.mutex);
    const UINT id = dialogTemplate.id;
    // Replaced in place, so that pointers handed out earlier stay valid.
    auto& slot = resources.templates[id];
    if (slot)
        *slot = std::move(dialogTemplate);
    else
        slot = std::make_unique<DialogTemplate>(std::move(dialogTemplate));
}

const DialogTemplate* FindDialogTemplate(UINT id)
{
    Resources& resources = TheResources();
    std::lock_guard lock(resources.mutex);
    auto it = resources.templates.find(id);
    return it == resources.templates.end() ? nullptr : it->second.get();
}

void RegisterString(UINT id, std::u16string text)
{
    Resources& resources = TheResources();
    std::lock_guard lock(resources.mutex);
    resources.strings[id] = std::move(text);
}

std::u16string LoadString(UINT id)
{
    Resources& resources = TheResources();
    std::lock_guard lock(resources.mutex);
    auto it = resources.strings.find(id);
    return it == resources.strings.end() ? std::u16string() : it->second;
}

void RegisterControlClass(std::string_view className, ControlFactory factory)
{
    Resources& resources = TheResources();
    std::lock_guard lock(resources.mutex);
    resources.factories.insert_or_assign(std::string(className), std::move(factory));
}

std::unique_ptr<Window> MakeControl(std::string_view className)
{
    ControlFactory factory;
    {
        Resources& resources = TheResources();
        std::lock_guard lock(resources.mutex);
        auto it = resources.factories.find(className);
        if (it != resources.factories.end())
            factory = it->second;
    }
    if (factory)
        if (std::unique_ptr<Window> control = factory())
            return control;
    return std::make_unique<GenericControl>(std::string(className));
}

} // namespace platform
