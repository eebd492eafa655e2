// Scrolling the computer list by a page and drawing it again, with 10,000 entries.
#include "list/ComputerList.h"
#include "list/Info.h"
#include "OffscreenBench.h"
#include "platform/qt/QtListView.h"
#include "ui/RowPainter.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <QImage>
#include <QScrollBar>
#include <QWidget>

namespace {
TQtPlatform* Platform = nullptr;

void ScrollByAPageAndRedraw(benchmark::State& state)
{
    QWidget window;
    auto list = CreateListBox1(window);
    TComputerList computers(*list);
    const auto icon = Platform->LoadPicture("computer.png");
    const auto badge = Platform->LoadPicture("badge.png");
    const TRowPainter painter(*icon, *badge);
    list->OnDrawItem = [&](int row, const TRect& rect, TOwnerDrawState drawState, TCanvas& canvas) {
        painter.Draw(canvas, rect, drawState.Selected, computers.Text(row), computers.Status(row));
    };
    const int count = static_cast<int>(state.range(0));
    for (int i = 0; i < count; ++i)
        computers.Append("http://COMPUTER-" + std::to_string(i) + ".office.example:8080", TInfo(i % 3 == 0));
    computers.SetSelection(count / 2);
    window.resize(283, 423);
    window.show();
    QApplication::processEvents();

    QWidget& viewport = *list->View().viewport();
    QScrollBar& scrollBar = *list->View().verticalScrollBar();
    QImage image(viewport.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const int next = scrollBar.value() + scrollBar.pageStep();
        scrollBar.setValue(next > scrollBar.maximum() ? 0 : next);
        viewport.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["top row"] = list->TopIndex();
}
BENCHMARK(ScrollByAPageAndRedraw)->Arg(10000)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    return RunOnOffscreenPlatform(argc, argv, "ostrel-bench-list-draw", Platform);
}
