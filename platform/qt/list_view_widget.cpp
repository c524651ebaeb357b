#include "platform/qt/list_view_widget.h"

#include "platform/qt/control_adapters.h"
#include "platform/qt/text.h"
#include "platform/qt/window_mirror.h"
#include "platform/ui/list_view.h"
#include "platform/ui/message_queue.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStaticText>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QToolTip>
#include <QWheelEvent>

#include <optional>

namespace platform::qt
{

namespace
{

constexpr int kCellPadding = 6;
const QColor kGridLineColour(0xd8, 0xd8, 0xd8);

QColor ToQColor(COLORREF colour)
{
    return QColor(static_cast<int>(GetRValue(colour)), static_cast<int>(GetGValue(colour)),
                  static_cast<int>(GetBValue(colour)));
}

QRect ToQRect(const RECT& rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

QFont FontOf(const CellFont* cell, const QFont& base)
{
    if (!cell)
        return base;
    QFont font = base;
    if (!cell->face.empty())
        font.setFamily(ToQString(cell->face));
    if (cell->height > 0)
        font.setPixelSize(cell->height);
    font.setBold(cell->weight >= 600);
    font.setItalic(cell->italic);
    font.setUnderline(cell->underline);
    return font;
}

Qt::Alignment AlignmentOf(int format)
{
    switch (format & LVCFMT_JUSTIFYMASK)
    {
    case LVCFMT_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    case LVCFMT_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// Draws what the list's paint pass hands over.
class PainterTarget final : public PaintTarget
{
public:
    PainterTarget(QPainter& painter, QWidget& widget, TextCache& cache, bool gridLines)
        : painter(painter), widget(widget), cache(cache), gridLines(gridLines),
          baseFont(widget.font()), baseMetrics(baseFont)
    {
        cache.UseFont(baseFont);
    }

    void Cell(const PaintedCell& cell) override
    {
        const QRect rect = ToQRect(cell.rect);
        painter.fillRect(rect, ToQColor(cell.backColour));
        if (gridLines)
        {
            // One-pixel fills: much cheaper than stroked lines.
            painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), kGridLineColour);
            painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), kGridLineColour);
        }
        if (cell.text.empty())
            return;
        const int available = rect.width() - 2 * kCellPadding;
        if (available <= 0)
            return;
        const QFont* font = &baseFont;
        const QFontMetrics* metrics = &baseMetrics;
        std::optional<QFont> cellFont;
        std::optional<QFontMetrics> cellMetrics;
        if (cell.font)
        {
            cellFont.emplace(FontOf(cell.font, baseFont));
            cellMetrics.emplace(*cellFont);
            font = &*cellFont;
            metrics = &*cellMetrics;
        }
        if (font != currentFont || cell.font)
        {
            painter.setFont(*font);
            currentFont = cell.font ? nullptr : font;
        }
        painter.setPen(ToQColor(cell.textColour));
        // Texts of the list's own font are shaped once and kept: a grid
        // repeats the same few texts in every paint.
        QString text = ToQString(cell.text);
        const ShapedText* shaped = cell.font ? nullptr : cache.Find(text, *metrics);
        int width = shaped ? shaped->width : metrics->horizontalAdvance(text);
        if (width > available)
        {
            text = metrics->elidedText(text, Qt::ElideRight, available);
            shaped = cell.font ? nullptr : cache.Find(text, *metrics);
            width = shaped ? shaped->width : metrics->horizontalAdvance(text);
        }
        int x = rect.left() + kCellPadding;
        switch (cell.format & LVCFMT_JUSTIFYMASK)
        {
        case LVCFMT_RIGHT:
            x = rect.right() + 1 - kCellPadding - width;
            break;
        case LVCFMT_CENTER:
            x = rect.left() + (rect.width() - width) / 2;
            break;
        default:
            break;
        }
        const int top = rect.top() + (rect.height() - metrics->height()) / 2;
        if (shaped)
            painter.drawStaticText(QPoint(x, top), shaped->text);
        else
            painter.drawText(QPoint(x, top + metrics->ascent()), text);
    }

    void FocusRect(const RECT& r) override
    {
        QPen pen(Qt::black);
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(ToQRect(r).adjusted(0, 0, -1, -1));
    }

    void EmptyText(std::u16string_view text, const RECT& r) override
    {
        painter.setFont(widget.font());
        currentFont = nullptr;
        painter.setPen(ToQColor(RGB(0, 0, 0)));
        painter.drawText(ToQRect(r), Qt::AlignCenter | Qt::TextSingleLine, ToQString(text));
    }

    void HeaderItem(int, const RECT& r, std::u16string_view text, int format) override
    {
        QStyleOptionHeader option;
        option.initFrom(&widget);
        option.rect = ToQRect(r);
        option.text = ToQString(text);
        option.textAlignment = AlignmentOf(format);
        option.state |= QStyle::State_Raised | QStyle::State_Horizontal;
        option.orientation = Qt::Horizontal;
        option.sortIndicator = (format & HDF_SORTUP)     ? QStyleOptionHeader::SortUp
                               : (format & HDF_SORTDOWN) ? QStyleOptionHeader::SortDown
                                                         : QStyleOptionHeader::None;
        painter.save();
        painter.setFont(widget.font());
        widget.style()->drawControl(QStyle::CE_Header, &option, &painter, &widget);
        painter.restore();
    }

    void GroupHeader(int, const RECT& r, std::u16string_view header, UINT) override
    {
        const QRect rect = ToQRect(r);
        QFont font = widget.font();
        font.setBold(true);
        painter.setFont(font);
        currentFont = nullptr;
        const QColor blue(0x1e, 0x39, 0x87);
        painter.setPen(blue);
        const QRect textRect = rect.adjusted(kCellPadding, 0, -kCellPadding, -4);
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine,
                         ToQString(header));
        const int textWidth = QFontMetrics(font).horizontalAdvance(ToQString(header));
        const int lineY = textRect.bottom() - QFontMetrics(font).height() / 2;
        painter.setPen(QColor(0xc0, 0xd0, 0xe8));
        painter.drawLine(textRect.left() + textWidth + kCellPadding, lineY, rect.right() - 4,
                         lineY);
    }

private:
    QPainter& painter;
    QWidget& widget;
    TextCache& cache;
    bool gridLines;
    const QFont baseFont;
    const QFontMetrics baseMetrics;
    const QFont* currentFont = nullptr;
};

WPARAM KeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    WPARAM keys = 0;
    if (buttons & Qt::LeftButton)
        keys |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        keys |= MK_RBUTTON;
    if (modifiers & Qt::ShiftModifier)
        keys |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        keys |= MK_CONTROL;
    return keys;
}

} // namespace

void TextCache::UseFont(const QFont& newFont)
{
    if (newFont == font)
        return;
    font = newFont;
    entries.clear();
}

const ShapedText* TextCache::Find(const QString& text, const QFontMetrics& metrics)
{
    auto it = entries.find(text);
    if (it != entries.end())
        return &it.value();
    if (entries.size() >= kMaxEntries)
        entries.clear();
    ShapedText shaped;
    shaped.text.setText(text);
    shaped.text.setTextFormat(Qt::PlainText);
    shaped.text.prepare(QTransform(), font);
    shaped.width = metrics.horizontalAdvance(text);
    return &entries.insert(text, std::move(shaped)).value();
}

ListViewWidget::ListViewWidget(HWND hwnd, WindowMirror& mirror, QWidget* parent)
    : QWidget(parent), hwnd(hwnd), mirror(mirror), vertical(new QScrollBar(Qt::Vertical, this)),
      horizontal(new QScrollBar(Qt::Horizontal, this))
{
    horizontal->hide();
    vertical->hide();
    // A scroll bar moved by the user scrolls the layer's list, which then
    // tells this widget what to show.
    for (QScrollBar* bar : {horizontal, vertical})
        QObject::connect(bar, &QScrollBar::valueChanged,
                         [this, across = bar == horizontal](int value)
                         {
                             if (syncing)
                                 return;
                             this->mirror.PostToWindow(
                                 this->hwnd,
                                 [value, across](Window& window)
                                 {
                                     auto& list = static_cast<CListCtrl&>(window);
                                     if (across)
                                         list.Scroll(value - list.ScrollX(), 0);
                                     else
                                         list.Scroll(0, value - list.ScrollY());
                                 });
                         });
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CListCtrl* ListViewWidget::List() const
{
    return dynamic_cast<CListCtrl*>(FromHandle(hwnd));
}

void ListViewWidget::Refresh()
{
    // Filling a list changes it once per cell: the scroll bar follows once
    // per batch, from Qt's loop.
    update();
    if (scrollBarDue)
        return;
    scrollBarDue = true;
    QMetaObject::invokeMethod(
        this,
        [this]
        {
            scrollBarDue = false;
            SyncScrollBar();
        },
        Qt::QueuedConnection);
}

void ListViewWidget::SyncScrollBar()
{
    CListCtrl* list = List();
    if (!list)
        return;
    // The bars lie over the edges of the list's area, as the list knows
    // nothing of them.
    const int barWidth = vertical->sizeHint().width();
    const int barHeight = horizontal->sizeHint().height();
    const int header = list->HeaderHeight();
    const bool wide = list->ContentWidth() > width();
    const int body = height() - header - (wide ? barHeight : 0);
    const bool tall = list->ContentHeight() > body && body > 0;
    syncing = true;
    if (tall)
    {
        vertical->setGeometry(width() - barWidth, header, barWidth, body);
        vertical->setRange(0, list->ContentHeight() - body);
        vertical->setPageStep(body);
        vertical->setSingleStep(list->RowHeight());
        vertical->setValue(list->ScrollY());
        vertical->show();
    }
    else
    {
        vertical->hide();
    }
    const int across = width() - (tall ? barWidth : 0);
    if (wide && across > 0)
    {
        horizontal->setGeometry(0, height() - barHeight, across, barHeight);
        horizontal->setRange(0, std::max(0, list->ContentWidth() - across));
        horizontal->setPageStep(across);
        horizontal->setSingleStep(20);
        horizontal->setValue(list->ScrollX());
        horizontal->show();
    }
    else
    {
        horizontal->hide();
    }
    syncing = false;
}

void ListViewWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    CListCtrl* list = List();
    if (!list)
        return;
    painter.fillRect(rect(), ToQColor(list->GetBkColor()));
    if (list->HeaderHeight() > 0)
    {
        // The part of the header right of the last column.
        QStyleOptionHeader filler;
        filler.initFrom(this);
        const int right = list->ContentWidth() - list->ScrollX();
        filler.rect = QRect(right, 0, std::max(0, width() - right), list->HeaderHeight());
        filler.position = QStyleOptionHeader::End;
        painter.save();
        style()->drawControl(QStyle::CE_HeaderEmptyArea, &filler, &painter, this);
        painter.restore();
    }
    {
        PainterTarget target(painter, *this, textCache,
                             (list->GetExtendedStyle() & LVS_EX_GRIDLINES) != 0);
        list->Paint(&target);
    }
    // A header item being dragged to a new place follows the mouse.
    if (const int dragged = list->GetHeaderCtrl()->DraggingItem(); dragged >= 0)
    {
        const CHeaderCtrl& header = *list->GetHeaderCtrl();
        const int itemWidth = header.ItemWidth(dragged);
        QStyleOptionHeader option;
        option.initFrom(this);
        option.rect = QRect(dragX - itemWidth / 2, 0, itemWidth, list->HeaderHeight());
        option.text = ToQString(header.ItemText(dragged));
        option.textAlignment = AlignmentOf(header.ItemFormat(dragged));
        option.state |= QStyle::State_Sunken | QStyle::State_Horizontal;
        painter.save();
        painter.setOpacity(0.7);
        style()->drawControl(QStyle::CE_Header, &option, &painter, this);
        painter.restore();
    }
    if (vertical->isVisible() && horizontal->isVisible())
        painter.fillRect(
            QRect(vertical->x(), horizontal->y(), vertical->width(), horizontal->height()),
            palette().window());
    if ((list->GetStyle() & WS_BORDER) || (list->GetExStyle() & WS_EX_CLIENTEDGE))
    {
        painter.setPen(palette().color(QPalette::Mid));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ListViewWidget::PostMouse(UINT message, const QMouseEvent& event)
{
    const QPoint p = event.position().toPoint();
    PostMessage(hwnd, message, KeyFlags(event.buttons(), event.modifiers()),
                MakePointParam(p.x(), p.y()));
}

void ListViewWidget::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton)
        PostMouse(WM_LBUTTONDOWN, *event);
    else if (event->button() == Qt::RightButton)
        PostMouse(WM_RBUTTONDOWN, *event);
}

void ListViewWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        PostMouse(WM_LBUTTONDBLCLK, *event);
    else if (event->button() == Qt::RightButton)
        PostMouse(WM_RBUTTONDOWN, *event);
}

void ListViewWidget::mouseMoveEvent(QMouseEvent* event)
{
    UpdateCursor(event->position().toPoint());
    if (event->buttons() & Qt::LeftButton)
    {
        PostMouse(WM_MOUSEMOVE, *event);
        dragX = event->position().toPoint().x();
        if (CListCtrl* list = List(); list && list->GetHeaderCtrl()->DraggingItem() >= 0)
            update(0, 0, width(), list->HeaderHeight());
    }
}

void ListViewWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        PostMouse(WM_LBUTTONUP, *event);
    else if (event->button() == Qt::RightButton)
        PostMouse(WM_RBUTTONUP, *event);
}

void ListViewWidget::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers() & Qt::ShiftModifier || event->angleDelta().x() != 0)
    {
        // Sideways: the columns scroll.
        const int delta =
            event->angleDelta().x() != 0 ? event->angleDelta().x() : event->angleDelta().y();
        mirror.PostToWindow(hwnd, [delta](Window& window)
                            { static_cast<CListCtrl&>(window).Scroll(-delta / 2, 0); });
        event->accept();
        return;
    }
    const QPoint global = event->globalPosition().toPoint();
    const int delta = event->angleDelta().y();
    PostMessage(hwnd, WM_MOUSEWHEEL,
                MAKEWPARAM(static_cast<unsigned>(KeyFlags(event->buttons(), event->modifiers())),
                           static_cast<unsigned>(static_cast<std::int16_t>(delta))),
                MakePointParam(global.x(), global.y()));
    event->accept();
}

void ListViewWidget::contextMenuEvent(QContextMenuEvent* event)
{
    const LPARAM where = event->reason() == QContextMenuEvent::Keyboard
                             ? MakePointParam(-1, -1)
                             : MakePointParam(event->globalPos().x(), event->globalPos().y());
    PostMessage(hwnd, WM_CONTEXTMENU, hwnd.id, where);
}

void ListViewWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    SyncScrollBar();
}

void ListViewWidget::UpdateCursor(const QPoint& point)
{
    CListCtrl* list = List();
    if (!list || point.y() >= list->HeaderHeight())
    {
        unsetCursor();
        return;
    }
    HDHITTESTINFO hit{.pt = POINT{point.x(), point.y()}};
    list->GetHeaderCtrl()->HitTest(hit);
    if (hit.flags & HHT_ONDIVIDER)
        setCursor(Qt::SplitHCursor);
    else
        unsetCursor();
}

bool ListViewWidget::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip)
    {
        auto* help = static_cast<QHelpEvent*>(event);
        CListCtrl* list = List();
        const std::u16string text =
            list ? list->GetToolTipText(POINT{help->pos().x(), help->pos().y()}) : u"";
        if (text.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), ToQString(text), this);
        return true;
    }
    return QWidget::event(event);
}

// ---- adapters ---------------------------------------------------------------

namespace
{

class ListViewAdapter final : public ControlAdapter
{
public:
    QWidget* Make(Window& window, QWidget* parent, WindowMirror& mirror) override
    {
        auto* widget = new ListViewWidget(window.Handle(), mirror, parent);
        if (auto* list = dynamic_cast<CListCtrl*>(&window))
        {
            // Rows and header as tall as the screen font needs.
            const QFontMetrics metrics(widget->font());
            list->SetRowHeight(metrics.height() + 6);
            list->SetHeaderHeight(metrics.height() + 10);
        }
        return widget;
    }
    void SyncContent(Window&, QWidget& widget) override
    {
        static_cast<ListViewWidget&>(widget).Refresh();
    }
};

// The header lies over the list and is painted by it: its own widget is
// only a placeholder that takes no input.
class HeaderAdapter final : public ControlAdapter
{
public:
    QWidget* Make(Window&, QWidget* parent, WindowMirror&) override
    {
        auto* widget = new QWidget(parent);
        widget->setAttribute(Qt::WA_TransparentForMouseEvents);
        widget->setAttribute(Qt::WA_NoSystemBackground);
        return widget;
    }
    void SyncContent(Window&, QWidget& widget) override
    {
        if (auto* list = dynamic_cast<ListViewWidget*>(widget.parentWidget()))
            list->Refresh();
    }
    void SyncText(Window& window, QWidget& widget) override { SyncContent(window, widget); }
};

} // namespace

std::unique_ptr<ControlAdapter> MakeListViewAdapter()
{
    return std::make_unique<ListViewAdapter>();
}

std::unique_ptr<ControlAdapter> MakeHeaderAdapter()
{
    return std::make_unique<HeaderAdapter>();
}

} // namespace platform::qt
