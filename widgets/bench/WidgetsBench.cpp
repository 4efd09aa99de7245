// Host time to paint the launcher's bottom line once: the battery gauge with its badge, the
// clock and the caption label, each invalidated and painted through its window.
#include <benchmark/benchmark.h>

#include "platform/gdi/Framebuffer.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/user/CWnd.h"
#include "widgets/QBatteryGauge.h"
#include "widgets/QClockLabel.h"
#include "widgets/QColorLabel.h"

namespace {

HWND AddStatic(CWnd& parent, int id, const RECT& r, LPCTSTR text) {
    return CreateWindow(L"Static", text, WS_CHILD | WS_VISIBLE | SS_LEFT, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, parent.m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

void PaintLauncherLabels(benchmark::State& state) {
    DeviceClock::Instance().SetManual();
    CWnd view;
    view.CreateEx(0, AfxWndClassName(), L"View", WS_POPUP | WS_VISIBLE, 0, 0, Framebuffer::kWidth,
                  Framebuffer::kHeight, nullptr, nullptr);
    QBatteryGauge gauge;
    QColorLabel caption;
    QClockLabel clock;
    gauge.SubclassWindow(AddStatic(view, 1003, RECT{164, 305, 182, 314}, L""));
    caption.SubclassWindow(AddStatic(view, 1004, RECT{0, 285, 240, 301}, L"Norvane Analyser"));
    clock.SubclassWindow(AddStatic(view, 1002, RECT{190, 303, 240, 317}, L""));
    clock.SetColor(1, RGB(255, 0, 0), TRUE);
    clock.SetColor(0, RGB(0, 0, 0), TRUE);
    gauge.SetWarning(TRUE, FALSE);
    gauge.SetLevel(0.6f, FALSE);
    gauge.SetCharging(FALSE, TRUE);

    for (auto _ : state) {
        for (CWnd* wnd : {static_cast<CWnd*>(&gauge), static_cast<CWnd*>(&caption),
                          static_cast<CWnd*>(&clock)}) {
            wnd->Invalidate();
            wnd->UpdateWindow();
        }
    }
    state.SetLabel("gauge + caption + clock, per frame");
    view.DestroyWindow();
}
BENCHMARK(PaintLauncherLabels);

} // namespace

BENCHMARK_MAIN();
