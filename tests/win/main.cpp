// Entry point of the Windows tests: GoogleTest under wine, with the application object ready
// (its hidden window exists), as the program's own entry point leaves it.
#include <gtest/gtest.h>
#include <windows.h>

#include "components/VrControls.h"
#include "framework/Application.h"

int wmain(int argc, wchar_t** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    auto& app = fw::Application::Instance();
    app.Initialize();
    app.SetTitle(L"Snapvane 1.1");
    VrControlsStartup();  // the component library's cursor
    return RUN_ALL_TESTS();
}
