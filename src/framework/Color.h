#pragma once
// Colour values as the forms use them: a 32-bit value that is an RGB colour (red in the low
// byte) or, when negative, a system colour whose index is the low byte.
#include <windows.h>

#include <cstdint>

namespace fw {

using Color = std::int32_t;

inline constexpr Color kBlack = 0x000000;
inline constexpr Color kMaroon = 0x000080;
inline constexpr Color kGreen = 0x008000;
inline constexpr Color kOlive = 0x008080;
inline constexpr Color kNavy = 0x800000;
inline constexpr Color kGray = 0x808080;
inline constexpr Color kSilver = 0xC0C0C0;
inline constexpr Color kRed = 0x0000FF;
inline constexpr Color kLime = 0x00FF00;
inline constexpr Color kBlue = 0xFF0000;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kNone = 0x1FFFFFFF;  // "no colour", e.g. a clear brush
constexpr Color SystemColor(int index) { return Color(0x80000000u | unsigned(index)); }
inline constexpr Color kBtnFace = SystemColor(COLOR_BTNFACE);
inline constexpr Color kWindow = SystemColor(COLOR_WINDOW);
inline constexpr Color kWindowText = SystemColor(COLOR_WINDOWTEXT);
inline constexpr Color kGrayText = SystemColor(COLOR_GRAYTEXT);
inline constexpr Color kInfoBk = SystemColor(COLOR_INFOBK);

inline COLORREF ToRgb(Color c) { return c < 0 ? ::GetSysColor(c & 0xFF) : COLORREF(c); }

}  // namespace fw
