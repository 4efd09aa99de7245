// norvane-sim: the simulated Norvane analyser running its launcher, or the widget kit's gallery
// (see --help).

#include <memory>
#include <vector>

#include "app/QCaldroApp.h"
#include "res/NorvaneAppResources.h"
#include "sim/gallery/GalleryResources.h"
#include "sim/gallery/QGalleryApp.h"
#include "sim/gallery/QGalleryFrame.h"
#include "sim/shell/SimOptions.h"
#include "sim/shell/SimProgram.h"
#include "sim/shell/Simulator.h"

int main(int argc, char** argv) {
    // Each program as its executable would start on the device: its resources are the
    // executable's, and its one application object is made before AfxWinMain runs.
    const std::vector<SimProgram> programs = {
        {"launcher", "the Norvane launcher", L"AppFrame",
         []() -> std::unique_ptr<CWinApp> {
             RegisterNorvaneAppResources();
             return std::make_unique<QCaldroApp>();
         }},
        {"gallery", "pages of the widget kit's controls, worked by keypad and stylus",
         QGalleryFrame::kWindowName,
         []() -> std::unique_ptr<CWinApp> {
             RegisterGalleryResources();
             return std::make_unique<QGalleryApp>();
         }},
    };
    SimOptions options;
    if (const auto exitCode = SimOptions::Parse(argc, argv, programs, options))
        return *exitCode;
    for (const SimProgram& program : programs)
        if (program.name == options.app)
            return Simulator(std::move(options), program).Run();
    return 2; // Parse accepts no other name
}
