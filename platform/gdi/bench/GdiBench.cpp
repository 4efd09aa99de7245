// How long the launcher's background paint (a full-screen BitBlt of a 240 x 320 bitmap) and a
// 40-character line of Chinese text take on the simulated screen.
#include <benchmark/benchmark.h>

#include "platform/gdi/Framebuffer.h"
#include "platform/gdi/WinGdi.h"

namespace {

void FullScreenBitBlt(benchmark::State& state) {
    HDC screen =
        GdiCreateSurfaceDC(POINT{0, 0}, {RECT{0, 0, Framebuffer::kWidth, Framebuffer::kHeight}});
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, Framebuffer::kWidth, Framebuffer::kHeight);
    HGDIOBJ old = SelectObject(memory, bitmap);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            BitBlt(screen, 0, 0, Framebuffer::kWidth, Framebuffer::kHeight, memory, 0, 0, SRCCOPY));
    }
    state.SetItemsProcessed(state.iterations() * Framebuffer::kWidth * Framebuffer::kHeight);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    GdiReleaseDC(screen);
}
BENCHMARK(FullScreenBitBlt);

void ChineseLineDrawText(benchmark::State& state) {
    HDC screen =
        GdiCreateSurfaceDC(POINT{0, 0}, {RECT{0, 0, Framebuffer::kWidth, Framebuffer::kHeight}});
    const wchar_t* line =
        L"連線中請稍候正在載入程式連線中請稍候正在載入程式連線中請稍候正在載入程式連線中請";
    RECT rect{0, 100, Framebuffer::kWidth, 140};
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            DrawText(screen, line, 40, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    }
    GdiReleaseDC(screen);
}
BENCHMARK(ChineseLineDrawText);

} // namespace

BENCHMARK_MAIN();
