#pragma once
// The two fixed pipelines that rebuild the output image from the input image.
// Both do nothing while no image is present.

#include "imaging/image_pair.h"

namespace qf {

// Output = grey rendering of the input as three equal channels when greyMode
// is non-zero, else a copy of the input. The old output is dropped at once;
// the new one is built when it is first read (outputImage()).
void convertGrey(ImagePair& images, CurrentImage current, bool greyMode);

// The grey rendering of a BGR picture as three equal channels, in new memory.
cv::Mat greyRendering(const cv::Mat& bgr);

// Output = black and white by a Gaussian adaptive threshold (15 x 15, C = 2)
// of the input's grey rendering, stored as three channels.
void runProcessing(ImagePair& images, CurrentImage current);

}  // namespace qf
