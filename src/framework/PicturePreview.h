#pragma once
// A picture in a window of its own: at its own size (scaled down where the work area is too
// small), centred on the screen, over its owner, which is disabled meanwhile. Escape or the
// close box ends it. It runs in the program's message loop (MessageLoop::RunUntil).
#include <windows.h>

namespace fw {

// Shows `picture` of `size` until the person closes it; the activation then goes back to
// `owner`.
void ShowPicturePreview(HWND owner, HBITMAP picture, SIZE size);

}  // namespace fw
