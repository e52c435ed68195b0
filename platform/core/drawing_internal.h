// What the text renderer shares with the pixel renderer: colour conversion to
// a bitmap's format, clipped fills, the screen-changed notice and forgetting
// a deleted drawing object in every surface that still holds it.
#pragma once

#include <cstdint>

#include "platform/drawing.h"
#include "platform/types.h"

namespace plat::detail {

// The value a colour is stored as in `bitmap`: the colour itself, or for a
// one-bit bitmap the nearer of black (0) and white (1).
uint32_t storedValue(const Bitmap& bitmap, Colour colour);

// The part of `rect` that lies inside the bitmap (possibly empty).
Rect clipToBitmap(const Bitmap& bitmap, const Rect& rect);
Rect intersect(const Rect& a, const Rect& b);
inline bool isEmpty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

// Fills an already clipped rectangle with a stored value.
void fill(Bitmap& bitmap, const Rect& clipped, uint32_t value);

// Tells the back end when a surface that shows on screen has been drawn on.
void drawnOn(const Surface* surface);

// Removes a pen, brush, font or bitmap that is being deleted from every
// memory surface that still has it selected, so no surface keeps a dangling
// pointer (a bitmap is replaced by the surface's own 1 x 1 bitmap).
void forgetSelected(const void* object);

}  // namespace plat::detail
