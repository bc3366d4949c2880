// Twips to a backend's pixels, worked out once for every backend: where the window and its
// controls go, and what a single-line box keeps for its caret.
#pragma once

#include <cmath>

#include "layout.h"

namespace tsrl::forms {

inline constexpr int kTwipsPerInch = 1440;
// The logical resolution at which a layout's 15 twips make a pixel.
inline constexpr int kStandardPixelsPerInch = kTwipsPerInch / kTwipsPerPixel;
// A single-line box keeps a pixel beside its text for the caret.
inline constexpr int kCaretPixels = 1;

// In a backend's pixels: logical on Qt, device pixels on Win32.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// To the nearest pixel, halves away from zero.
inline int TwipsToPixels(double twips, int pixelsPerInch) {
    return static_cast<int>(std::lround(twips * pixelsPerInch / kTwipsPerInch));
}

inline double PixelsToTwips(int pixels, int pixelsPerInch) {
    return static_cast<double>(pixels) * kTwipsPerInch / pixelsPerInch;
}

// Where the window's client area goes on the screen, and its size.
inline PixelRect ClientOf(const WindowLayout& w, int pixelsPerInch) {
    return {TwipsToPixels(w.clientLeft, pixelsPerInch), TwipsToPixels(w.clientTop, pixelsPerInch),
            TwipsToPixels(w.clientWidth, pixelsPerInch),
            TwipsToPixels(w.clientHeight, pixelsPerInch)};
}

inline PixelRect PlaceOf(const ControlLayout& c, int pixelsPerInch) {
    return {TwipsToPixels(c.left, pixelsPerInch), TwipsToPixels(c.top, pixelsPerInch),
            TwipsToPixels(c.width, pixelsPerInch), TwipsToPixels(c.height, pixelsPerInch)};
}

}  // namespace tsrl::forms
