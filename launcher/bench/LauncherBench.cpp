// Host time of the launcher view's two heavier steps on the UI side: a paint of the view, which
// loads and blits the background picture anew each time, and the catalogue build for a card
// with a given number of extra programs (each adds an icon and a launch record).
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "launcher/tests/ViewProbe.h"
#include "link/QCoprocLink.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/DeviceStorage.h"
#include "platform/kernel/Registry.h"
#include "platform/user/CWnd.h"
#include "res/NorvaneAppResources.h"
#include "sim/board/Board.h"
#include "testsupport/StorageTempDir.h"

namespace {

// A device with the launcher's image and a catalogue of extras programs, and a view on it.
class BenchDevice {
public:
    explicit BenchDevice(int extras) {
        DeviceClock::Instance().SetManual();
        const auto card = m_dir.Path() / "card";
        std::filesystem::create_directories(card / "Norvane" / "App");
        std::filesystem::create_directories(m_dir.Path() / "state");
        DeviceStorage::Configure(m_dir.Path() / "state", card);
        Registry::Instance().Load(m_dir.Path() / "state" / "registry.reg");
        RegisterNorvaneAppResources();
        std::ofstream(card / "Norvane" / "App" / "NorvaneApp.bin", std::ios::binary)
            << std::string(5000, '\x5A');
        std::ofstream ini(card / "Norvane" / "App" / "NorvaneApp.ini", std::ios::binary);
        for (int i = 0; i < extras; ++i)
            ini << "[Program " << i << "]\nProgram=\\Storage Card\\P" << i
                << ".exe\nBin=\\Storage Card\\P" << i << ".bin\nPara=-n " << i << "\n";
        ini.close();
        QCoprocLink& link = QCoprocLink::Instance();
        link.ResetAndSync();
        link.DownloadImage(QCaldroAppView::kLauncherImage);
        m_frame = CreateWindowEx(0, AfxFrameOrViewClassName(), L"Bench", WS_POPUP | WS_VISIBLE, 0,
                                 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
        NewView();
    }
    ~BenchDevice() {
        view->DestroyWindow();
        DestroyWindow(m_frame);
    }

    // A fresh view in place of the present one: the catalogue build runs once per view.
    void NewView() {
        if (view)
            view->DestroyWindow();
        view = new ViewProbe;
        view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, RECT{0, 0, 240, 320},
                     CWnd::FromHandle(m_frame), AFX_IDW_PANE_FIRST);
        view->SendMessage(WM_INITIALUPDATE);
    }

    ViewProbe* view = nullptr;

private:
    StorageTempDir m_dir;
    HWND m_frame = nullptr;
};

Board& TheBoard() {
    static Board board;
    return board;
}

void PaintView(benchmark::State& state) {
    TheBoard();
    BenchDevice device(0);
    for (auto _ : state) {
        device.view->InvalidateRect(nullptr, FALSE);
        device.view->UpdateWindow();
    }
}
BENCHMARK(PaintView)->Unit(benchmark::kMicrosecond);

void BuildCatalogue(benchmark::State& state) {
    TheBoard();
    BenchDevice device(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        device.NewView();
        state.ResumeTiming();
        device.view->BuildCatalogue();
    }
    state.SetItemsProcessed(state.iterations() * (10 + state.range(0)));
}
BENCHMARK(BuildCatalogue)->Arg(0)->Arg(40)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
