// Start-up to first paint of a window holding a 99-row report list view on
// the Qt backend, beside a bare Qt window of the same size in the same run,
// and the repaint of that list view. Offscreen.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_qt_startup
#include "platform/qt/qt_backend.h"
#include "platform/ui/list_view.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QTableWidget>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

using namespace platform;

namespace
{

constexpr int kRows = 99;
constexpr int kColumns = 17;
constexpr RECT kWindowRect{40, 40, 40 + 662, 40 + 257};

QApplication& App()
{
    static int argc = 1;
    static char name[] = "bench_qt_startup";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] { return new QApplication(argc, argv); }();
    return *app;
}

// Counts the paint events a widget receives.
class PaintCounter final : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

void WaitForPaint(const PaintCounter& counter)
{
    while (counter.paints == 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The reference: a plain top-level widget of the dialog's size.
class BareWindow final : public QWidget
{
public:
    void paintEvent(QPaintEvent*) override { painted = true; }
    bool painted = false;
};

void BM_BareQtWindowToFirstPaint(benchmark::State& state)
{
    App();
    for (auto _ : state)
    {
        auto window = std::make_unique<BareWindow>();
        window->setWindowTitle("Brindle");
        window->setGeometry(kWindowRect.left, kWindowRect.top, kWindowRect.Width(),
                            kWindowRect.Height());
        window->show();
        while (!window->painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BareQtWindowToFirstPaint)->Unit(benchmark::kMicrosecond);

// The same content with Qt alone: a window holding a QTableWidget of 99 rows
// and 17 columns.
void BM_QtTableWindowToFirstPaint(benchmark::State& state)
{
    App();
    for (auto _ : state)
    {
        auto window = std::make_unique<QWidget>();
        window->setWindowTitle("Brindle");
        window->setGeometry(kWindowRect.left, kWindowRect.top, kWindowRect.Width(),
                            kWindowRect.Height());
        auto* table = new QTableWidget(kRows, kColumns, window.get());
        table->setGeometry(10, 100, 640, 150);
        table->verticalHeader()->hide();
        for (int column = 0; column < kColumns; ++column)
        {
            table->setHorizontalHeaderItem(
                column, new QTableWidgetItem(QString("Column %1").arg(QChar('A' + column))));
            table->setColumnWidth(column, 60);
        }
        for (int row = 0; row < kRows; ++row)
        {
            table->setItem(row, 1,
                           new QTableWidgetItem(QString("SYM%1").arg(QChar('A' + row % 26))));
            for (int column = 2; column < kColumns; ++column)
                table->setItem(row, column, new QTableWidgetItem("123.45"));
        }
        PaintCounter counter;
        table->viewport()->installEventFilter(&counter);
        window->show();
        WaitForPaint(counter);
        state.PauseTiming();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_QtTableWindowToFirstPaint)->Unit(benchmark::kMicrosecond);

struct ListWindow
{
    Window frame;
    CListCtrl list;

    void Create()
    {
        frame.Create(CreateParams{.text = u"Brindle",
                                  .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                                  .rect = kWindowRect});
        list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP);
        list.Create(CreateParams{.style = WS_CHILD | WS_VISIBLE | LVS_REPORT,
                                 .rect = RECT{10, 100, 650, 250},
                                 .parent = frame.Handle(),
                                 .id = 1003});
        list.InsertColumn(0, u"", LVCFMT_LEFT, 0);
        for (int column = 1; column < kColumns; ++column)
            list.InsertColumn(column, u"Column " + std::u16string(1, u'A' + column - 1),
                              LVCFMT_RIGHT, 60);
        for (int row = 0; row < kRows; ++row)
        {
            list.InsertItem(row, u"");
            list.SetItemText(row, 1, u"SYM" + std::u16string(1, u'A' + row % 26));
            for (int column = 2; column < kColumns; ++column)
                list.SetItemText(row, column, u"123.45");
        }
    }
};

void BM_ListWindowToFirstPaint(benchmark::State& state)
{
    App();
    qt::QtBackend backend;
    for (auto _ : state)
    {
        auto window = std::make_unique<ListWindow>();
        PaintCounter counter;
        // Made hidden, the paint counter put on the list, then shown.
        window->Create();
        backend.WidgetOf(window->list.Handle())->installEventFilter(&counter);
        window->frame.ShowWindow(true);
        WaitForPaint(counter);
        state.PauseTiming();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ListWindowToFirstPaint)->Unit(benchmark::kMicrosecond);

void BM_ListViewRepaint(benchmark::State& state)
{
    App();
    qt::QtBackend backend;
    ListWindow window;
    window.Create();
    QWidget* widget = backend.WidgetOf(window.list.Handle());
    PaintCounter counter;
    widget->installEventFilter(&counter);
    window.frame.ShowWindow(true);
    WaitForPaint(counter);
    for (auto _ : state)
        widget->repaint();
    state.counters["rows shown"] = window.list.GetCountPerPage();
}
BENCHMARK(BM_ListViewRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
