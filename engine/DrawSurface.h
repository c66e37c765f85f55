#pragma once

#include <cstdint>

namespace rowstone {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct ClientSize {
    int width = 0;
    int height = 0;
};

// The view a board draws into: a client area with its origin at the top
// left. Coordinates follow the classic raster conventions, so the same
// pixels come out on every drawing system:
//  - FillRect covers left <= x < right, top <= y < bottom;
//  - DrawLine is a one-pixel line from (x1, y1) up to, but not including,
//    (x2, y2), like a pen moved to the first point and drawn to the second;
//  - DrawEllipse fills the ellipse inscribed in left <= x < right,
//    top <= y < bottom and outlines it one pixel wide in the outline colour.
class DrawSurface {
public:
    virtual ~DrawSurface() = default;

    virtual ClientSize GetClientSize() const = 0;

    // Acquires the surface for drawing; false when it cannot be drawn on now.
    // Every successful BeginDrawing is paired with one EndDrawing.
    virtual bool BeginDrawing() = 0;
    virtual void EndDrawing() = 0;

    virtual void FillRect(int left, int top, int right, int bottom, Rgb colour) = 0;
    virtual void DrawLine(int x1, int y1, int x2, int y2, Rgb colour) = 0;
    virtual void DrawEllipse(int left, int top, int right, int bottom, Rgb fill, Rgb outline) = 0;
};

} // namespace rowstone
