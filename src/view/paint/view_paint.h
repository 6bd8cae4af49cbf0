#pragma once
// One repaint of the view, in its order: the image, the tool overlay, the
// generated graph when it is shown, and the drag band on top.
//
// Takes the viewport's painter in window coordinates.

#include <QFont>
#include <QPainter>

#include "common/view_transform.h"
#include "view/paint/image_display.h"
#include "view/view_state.h"

namespace qf {

void paintView(QPainter& painter, const ViewState& state, IntSize clientSize,
               const DisplayColours& colours, const QFont& labelFont);

}  // namespace qf
