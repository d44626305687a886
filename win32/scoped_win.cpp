#include "win32/scoped_win.h"

#include <commctrl.h>

namespace pimblo::win {
void ImageListTraits::Close(HIMAGELIST h) { ImageList_Destroy(h); }
}  // namespace pimblo::win
