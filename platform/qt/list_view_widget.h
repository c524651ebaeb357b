// The report list view on screen: the layer's list paints itself through
// its custom-draw stages into a QPainter (cell colours, fonts, grid lines,
// focus rectangle, header, group headers, empty text); mouse, wheel and
// context-menu input goes back to the list as its messages, in client
// coordinates, through the message loop.
#pragma once

#include "platform/ui/win_types.h"

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QWidget>

class QFontMetrics;
class QScrollBar;

namespace platform
{
class CListCtrl;
}

namespace platform::qt
{

class WindowMirror;

struct ShapedText
{
    QStaticText text;
    int width = 0;
};

// Texts shaped in the list's font, kept between paints (bounded).
class TextCache
{
public:
    // Empties the cache when the font differs from the last one used.
    void UseFont(const QFont& font);
    const ShapedText* Find(const QString& text, const QFontMetrics& metrics);

private:
    static constexpr int kMaxEntries = 4096;
    QFont font;
    QHash<QString, ShapedText> entries;
};

class ListViewWidget final : public QWidget
{
public:
    ListViewWidget(HWND hwnd, WindowMirror& mirror, QWidget* parent);

    // Repaints, and brings the scroll bar in line with the list soon after.
    void Refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    CListCtrl* List() const;
    void PostMouse(UINT message, const QMouseEvent& event);
    void UpdateCursor(const QPoint& point);
    void SyncScrollBar();

    HWND hwnd;
    WindowMirror& mirror;
    QScrollBar* vertical;
    QScrollBar* horizontal;
    TextCache textCache;
    bool syncing = false;
    bool scrollBarDue = false;
    int dragX = 0; // the mouse while a header item is dragged
};

} // namespace platform::qt
