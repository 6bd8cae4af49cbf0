#pragma once
// One repaint of the view, in its order: the image, the tool overlay, the
// generated graph when it is shown, and the drag band on top.
//
// Takes the viewport's painter in window coordinates.

#include <QFont>
#include <QPainter>

#include "common/view_transform.h"
#include "graph/renderer.h"
#include "view/paint/image_display.h"
#include "view/view_state.h"

namespace qf {

// The generated graph as the view shows it: the current image's size, the axes,
// the style and the label font, at the view's zoom and scroll.
GraphScene graphSceneOf(const ViewState& state, const QFont& labelFont);

// The widget passes its cache of the reduced picture (see ReducedImageCache).
void paintView(QPainter& painter, const ViewState& state, IntSize clientSize,
               const DisplayColours& colours, const QFont& labelFont,
               ReducedImageCache* cache = nullptr);

}  // namespace qf
