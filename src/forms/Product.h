#pragma once
// The product as the program names it: its title and version, the version being the project's
// (CMakeLists.txt, through the generated SnapvaneVersion.h), written in one place.
#include <string>

#include "SnapvaneVersion.h"

inline const std::wstring kProductVersion = SNAPVANE_PRODUCT_VERSION_W;    // "1.1"
inline const std::wstring kProductTitle = L"Snapvane " + kProductVersion;  // "Snapvane 1.1"
// The control panel's caption.
inline const std::wstring kPanelCaption = L"| Tolvard | Snapvane | " + kProductVersion + L" |";
