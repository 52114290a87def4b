#pragma once
// Message pumping for the tests that wait for the GUI thread: timer ticks, hand-overs from
// worker threads, painting and the hooks' answers all arrive as messages.
#include <windows.h>

#include <functional>

// Handles waiting messages until `done` holds or `timeoutMs` has passed; the last answer of
// `done`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// Handles messages for `ms` milliseconds (timer ticks included).
void PumpFor(DWORD ms);
