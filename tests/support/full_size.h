#pragma once
// Pictures open fitted to the window. Tests that click at picture pixels
// bring the view back to 100 % first, as a user would with the zoom buttons.

#include "ui/command_target.h"
#include "view/image_view.h"

namespace qf::test {

inline void zoomToFullSize(ImageView& view) {
    while (view.state().transform.zoomShift < 0) view.onCommand(ID_ZOOM_IN);
    while (view.state().transform.zoomShift > 0) view.onCommand(ID_ZOOM_OUT);
}

}  // namespace qf::test
