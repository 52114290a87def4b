// Snapvane: the entry point. Builds the window pair and runs the message loop.
#include <windows.h>

#include "forms/CopyFormU.h"
#include "forms/CopyMaU.h"
#include "forms/Product.h"
#include "components/VrControls.h"
#include "framework/Application.h"
#include "framework/SystemLibrary.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    fw::SearchSystemFolderForLibraries();
    auto& app = fw::Application::Instance();
    app.Initialize();
    app.SetTitle(kProductTitle);
    VrControlsStartup();  // the component library's cursor
    // The control panel comes first and so becomes the main window; its create handler runs
    // while it is being built. The frame is built hidden; the panel's show handler shows it.
    TCopyForm copyForm;
    TMainForm mainForm;
    app.Run();
    return 0;
}
