// What a repaint of the editor costs: the whole window (the first paint when it opens)
// and one line of text (the information line, refreshed at least every 840 ms).

#include <benchmark/benchmark.h>

#include "drawing/Canvas.h"

namespace {

void BM_WholeWindowBlit(benchmark::State& state) {
  Bitmap background(1054, 600, 0xFF202124u);
  Bitmap window(1054, 600);
  Canvas canvas(window);
  for (auto _ : state) {
    canvas.Blit(background, background.Bounds(), 0, 0);
    benchmark::DoNotOptimize(window.At(0, 0));
  }
}
BENCHMARK(BM_WholeWindowBlit)->Unit(benchmark::kMicrosecond);

void BM_TranslucentFrameBlit(benchmark::State& state) {
  Bitmap knob(80, 80, 0x80404040u);  // half-transparent everywhere: the slow path
  Bitmap window(1054, 600, 0xFF202124u);
  Canvas canvas(window);
  for (auto _ : state) {
    canvas.Blit(knob, knob.Bounds(), 41, 144, 0.25);
    benchmark::DoNotOptimize(window.At(41, 144));
  }
}
BENCHMARK(BM_TranslucentFrameBlit)->Unit(benchmark::kMicrosecond);

void BM_InformationLineText(benchmark::State& state) {
  Bitmap window(1054, 600, 0xFF202124u);
  Canvas canvas(window);
  TextStyle style;
  style.align = TextStyle::kLeft;
  style.color = {96, 255, 255, 255};
  for (auto _ : state) {
    canvas.DrawText("CHORD: 3 NOTES  |  TEMPO: 120 1/16  |  SEQUENCER: 16 STEPS", style,
                    {6, 5, 390, 19});
    benchmark::DoNotOptimize(window.At(6, 5));
  }
}
BENCHMARK(BM_InformationLineText)->Unit(benchmark::kMicrosecond);

}  // namespace
