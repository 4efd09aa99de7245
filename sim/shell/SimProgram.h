// A program that norvane-sim can run on the simulated device (the launcher, the widget kit's
// gallery): its name on the command line, and how its application object comes to be.
#pragma once

#include <functional>
#include <memory>
#include <string>

class CWinApp;

struct SimProgram {
    std::string name;        // --app NAME
    std::string description; // for --help
    // The title of its main window, which is asked to close when the simulator quits.
    std::wstring mainWindow;
    // Registers the program's resources (as its executable would carry them) and makes its one
    // application object. Runs on the program's UI thread just before AfxWinMain, so that the
    // object made is the only application of the process and its resources are those of the
    // process's executable.
    std::function<std::unique_ptr<CWinApp>()> makeApp;
};
