#pragma once
// The program's message loops. Every message goes through the key preview of the form it is
// for (Form::PreviewKey: a key its handler keeps goes no further), then dialog navigation (Tab,
// arrows, ENTER for the default button, access keys), then its window procedure, with the
// pointer tracking seeing it (PointerTracking::Deliver). The hints of the common controls
// under the pointer are fed from here; our containers feed those of their windowless
// controls. A loop of a system dialog (a message box, the file dialog) does none of this.
// GUI thread only.
#include <windows.h>

#include <functional>

namespace fw {

class MessageLoop {
public:
    // Handles one waiting message; false when there was none, or it was WM_QUIT (the program
    // ends: it is posted again for the outer loop).
    static bool HandleMessage();
    // Handles every waiting message.
    static void ProcessMessages();
    // Waits for messages and handles them until `done` is true (true), or the program ends
    // (false).
    static bool RunUntil(const std::function<bool()>& done);

private:
    static void Dispatch(MSG& msg);
    // True when the message was handled before its window procedure.
    static bool PreTranslate(MSG& msg);
};

}  // namespace fw
