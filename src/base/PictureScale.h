#pragma once
// The scales the program's pictures are drawn at, and which one a window of a given dpi
// shows: the picture drawn nearest to its scale, at that picture's own size, never a smaller
// one stretched.
#include <string>

namespace base {

// The drawn scales, in percent of 96 dpi: a picture NAME exists at 100 % and as NAME_125,
// NAME_150 and NAME_200.
inline constexpr int kPictureScales[] = {100, 125, 150, 200};

// The drawn scale nearest to a dpi (96 dpi is 100 %). Halfway between two it is the smaller,
// so that a picture does not outgrow the room its control has by more than it must; below
// 100 % and beyond 200 % the nearest end.
int PictureScale(int dpi);

// A length of the 100 % picture at a scale, rounded as the layout rounds its units (halves
// away from zero): the size of the picture drawn for that scale.
int ScaledLength(int length, int scale);

// The name of the picture drawn for a scale: the name itself at 100 %, else name + "_" + scale.
std::wstring ScaledName(const std::wstring& name, int scale);

}  // namespace base
