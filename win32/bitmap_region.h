// BitmapToRegion: a window region covering the pixels of a bitmap that are not of
// a key colour. Windows only; the scan itself is in region_scan.h.
#pragma once

#include <windows.h>

#include <cstdint>

namespace pimblo {

// Returns a region the caller owns, possibly empty, or 0 when the work could not
// start (no memory context, no DIB section, no bitmap). The key is a COLORREF
// compared byte by byte with the blue-green-red pixel words.
HRGN BitmapToRegion(HBITMAP bitmap, std::uint32_t key, std::uint32_t tolerance);

}  // namespace pimblo
