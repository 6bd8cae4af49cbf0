#pragma once
// The two fixed pipelines that rebuild the output image from the input image.
// Both do nothing while no image is present.

#include "imaging/image_pair.h"

namespace qf {

// Output = grey rendering of the input as three equal channels when greyMode
// is non-zero, else a copy of the input.
void convertGrey(ImagePair& images, CurrentImage current, int greyMode);

// Output = black and white by a Gaussian adaptive threshold (15 x 15, C = 2)
// of the input's grey rendering, stored as three channels.
void runProcessing(ImagePair& images, CurrentImage current);

}  // namespace qf
