// The left-facing sprite sheets, built once at start-up from the right-facing ones.
#pragma once

#include <cstdint>

#include "sprites/bitmap.h"

namespace pimblo {

// Mirrors the picture left-right in place, whole pixel words at a time.
void MirrorBitmap(Bitmap& bitmap);

// Makes `target` a one-bit mask of `source`'s size: transparent exactly where the
// source pixel equals `colour`, opaque everywhere else. No tolerance applies.
void MakeMaskedCopy(const Bitmap& source, Mask& target, ColorRef colour);

// Fills `flegs` and then `fheads` with the mirror images of `legs` and `heads`.
// Works on any sheet type with Count(), Width(), Height(),
// Draw(index, Bitmap&) and Add(const Bitmap&, const Mask*), so the same steps
// serve the platform-free lists and the window system's image lists.
template <class Sheet>
void BuildMirroredSheets(const Sheet& legs, const Sheet& heads, Sheet& flegs, Sheet& fheads) {
  Bitmap frame;
  Mask mask;
  for (std::int32_t i = 0; i < legs.Count(); ++i) {
    frame = Bitmap(legs.Width(), legs.Height(), kRedPixel);
    legs.Draw(i, frame);  // the legs on red
    MirrorBitmap(frame);
    MakeMaskedCopy(frame, mask, kSpriteBackground);
    flegs.Add(frame, &mask);
  }
  for (std::int32_t i = 0; i < heads.Count(); ++i) {
    frame = Bitmap(heads.Width(), heads.Height(), kRedPixel);
    heads.Draw(i, frame);  // opaque: covers all of the frame
    MirrorBitmap(frame);
    fheads.Add(frame, nullptr);
  }
}

}  // namespace pimblo
