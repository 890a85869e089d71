// The workbench's redraw path on the 1,040,000-cell workbook (80,000 rows by 13 columns of topic
// blocks, as the block benchmark lays them out): one key that moves the cursor, or one "+3"
// through the command box, the dispatcher and the undo journal, then the layout of a full
// 200 x 60 screen. Each must stay within a frame, 16 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "app/all_tools.h"
#include "memory/memory_host.h"
#include "scripted/fixed_system.h"
#include "tui/workbench.h"
#include "topic_sheet.h"

namespace tezlo {
namespace {

class NullTerminal final : public Terminal {
 public:
  int Width() override { return 200; }
  int Height() override { return 60; }
  void Present(const ScreenBuffer&, Caret) override {}
  std::optional<KeyEvent> NextEvent(int) override { return std::nullopt; }
  void TrackPointer(bool) override {}
  bool InputClosed() override { return true; }
};

struct BigBench {
  MemoryHost host;
  FixedSystem system;
  NullTerminal terminal;
  ToolTable tools = AllTools();
  std::unique_ptr<Workbench> bench;

  BigBench() {
    const int32_t book = host.ActiveWorkbook();
    host.RenameSheet({book, 1}, "+1");
    host.RenameSheet({book, 2}, "+2");
    const SheetRef sheet{book, 1};
    host.ActivateSheet(sheet);
    bench::FillTopicSheet(host, sheet);
    bench = std::make_unique<Workbench>(host, terminal, system, tools, nullptr);
    host.ActivateCell(Cell{40010, 4});
    bench->Render();
  }
};

BigBench& Big() {
  static BigBench* b = new BigBench();
  return *b;
}

void BM_RedrawAfterCursorMove(benchmark::State& state) {
  BigBench& b = Big();
  b.host.ActivateCell(Cell{40010, 4});
  bool down = true;
  for (auto _ : state) {
    b.bench->Handle(KeyEvent::Of(down ? Key::Down : Key::Up));
    down = !down;
    ScreenBuffer screen = b.bench->Render();
    benchmark::DoNotOptimize(screen);
  }
}
BENCHMARK(BM_RedrawAfterCursorMove)->Unit(benchmark::kMillisecond);

void BM_RedrawAfterPageDown(benchmark::State& state) {
  BigBench& b = Big();
  b.host.ActivateCell(Cell{40010, 4});
  for (auto _ : state) {
    b.bench->Handle(KeyEvent::Of(Key::PageDown));
    ScreenBuffer screen = b.bench->Render();
    benchmark::DoNotOptimize(screen);
    if (b.host.ActiveCell().row > 79000) b.host.ActivateCell(Cell{40010, 4});
  }
}
BENCHMARK(BM_RedrawAfterPageDown)->Unit(benchmark::kMillisecond);

// "+3" typed into the command box and run, recorded for undo, and the screen laid out; the
// undo that puts the sheet back between runs is not timed.
void BM_RedrawAfterInsertRows(benchmark::State& state) {
  BigBench& b = Big();
  b.host.ActivateCell(Cell{40010, 4});
  const Value original = b.host.GetValue({1, 1}, Cell{40010, 4});
  for (auto _ : state) {
    b.bench->Handle(KeyEvent::Character(U'z', false, true));
    b.bench->Handle(KeyEvent::Character(U'+'));
    b.bench->Handle(KeyEvent::Character(U'3'));
    b.bench->Handle(KeyEvent::Of(Key::Enter));
    ScreenBuffer screen = b.bench->Render();
    benchmark::DoNotOptimize(screen);
    state.PauseTiming();
    const bool inserted = b.host.GetValue({1, 1}, Cell{40010, 4}).IsEmpty() &&
                          b.host.GetValue({1, 1}, Cell{40013, 4}) == original;
    b.bench->Handle(KeyEvent::Character(U'z', true));
    const bool restored = b.host.GetValue({1, 1}, Cell{40010, 4}) == original;
    state.ResumeTiming();
    if (!inserted || !restored) {
      state.SkipWithError("+3 did not insert rows or undo did not restore them");
      break;
    }
  }
}
BENCHMARK(BM_RedrawAfterInsertRows)->Unit(benchmark::kMillisecond);

// The layout alone, nothing changed.
void BM_LayoutFullScreen(benchmark::State& state) {
  BigBench& b = Big();
  b.host.ActivateCell(Cell{40010, 4});
  for (auto _ : state) {
    ScreenBuffer screen = b.bench->Render();
    benchmark::DoNotOptimize(screen);
  }
}
BENCHMARK(BM_LayoutFullScreen)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tezlo
