// How closely the bundled sample's fit recovers the curve the photographed
// chart was drawn from, y = 2 + 8x^2 - 0.6x^3 on 0 <= x <= 10, 0 <= y <= 250,
// with each mapping method: the figures the README quotes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "curve_clicks.h"
#include "fit/fit_driver.h"
#include "imaging/curve_extraction.h"
#include "imaging/image_file.h"
#include "imaging/mapping.h"
#include "points/source_points.h"
#include "project/project_file.h"

namespace qf {
namespace {

const std::string kSample = std::string(QF_SOURCE_DIR) + "/samples/chart.quillfen.json";
const std::string kSamplePicture = std::string(QF_SOURCE_DIR) + "/samples/chart.jpg";

double trueCurve(double x) {
    return 2 + 8 * x * x - 0.6 * x * x * x;
}

cv::Mat straighten(const cv::Mat& photo, const DocumentRecord& p) {
    ImagePair images;
    images.inputImage = photo;
    runMapping(images, CurrentImage::Input, workingGeometry(p));
    return images.outputImage;
}

// The largest distance of the generated curve from the true one, as a
// fraction of the Y range.
double worstDeviation(const DocumentRecord& p) {
    FitInput in;
    in.points = p.current().points.data();
    in.pointCount = int32_t(p.current().points.size());
    in.axis = p.axis;
    in.settings = p.current().fit;
    in.imagePresent = true;
    auto work = std::make_unique<SvdFitWork>();
    FitResult result;
    GeneratedGraph graph;
    if (runFit(in, *work, result, graph).status != FitOk) return INFINITY;
    double worst = 0.0;
    for (int l = 0; l < graph.generatedCount; ++l) {
        const double x = graph.generatedX[l];
        worst = std::max(worst, std::fabs(graph.generatedY[l] - trueCurve(x)));
    }
    return worst / (p.axis.yMax - p.axis.yMin);
}

TEST(SampleAccuracy, ThePerspectiveMappingRecoversTheCurve) {
    const ProjectReadResult read = readProjectFile(kSample);
    ASSERT_TRUE(read.ok) << read.error;
    const DocumentRecord& sample = read.project;
    ASSERT_EQ(workingGeometry(sample).method, MappingMethod::Perspective);
    const cv::Mat photo = readImageFile(kSamplePicture);
    ASSERT_FALSE(photo.empty());

    // The sample's points are the careful user's clicks on its own picture.
    EXPECT_EQ(sample.current().points,
              clickSampleCurve(straighten(photo, sample), sample.axis.axisRect));
    const double perspective = worstDeviation(sample);

    // The same clicks on the bilinear mapping of the same corners.
    DocumentRecord bilinear = sample;
    bilinear.mapping.method = MappingMethod::Bilinear;
    applyMappingNow(bilinear);
    bilinear.current().points =
        clickSampleCurve(straighten(photo, bilinear), bilinear.axis.axisRect);
    const double bilinearDeviation = worstDeviation(bilinear);

    std::printf(
        "largest deviation from the true curve, of the Y range: perspective %.2f %%, "
        "bilinear %.2f %%\n",
        perspective * 100, bilinearDeviation * 100);
    RecordProperty("perspective_percent", std::to_string(perspective * 100));
    RecordProperty("bilinear_percent", std::to_string(bilinearDeviation * 100));
    EXPECT_LE(perspective, 0.003);
    EXPECT_LT(perspective, bilinearDeviation);
}

// The curve extracted from one click on the straightened photograph fits
// as well as the careful user's clicks.
TEST(SampleAccuracy, TheExtractedCurveRecoversItToo) {
    const ProjectReadResult read = readProjectFile(kSample);
    ASSERT_TRUE(read.ok) << read.error;
    DocumentRecord sample = read.project;
    const cv::Mat straight = straighten(readImageFile(kSamplePicture), sample);
    const SourcePoint click = sample.current().points.at(9);
    const ExtractionResult r = extractCurve(straight, sample.axis.axisRect, {click.h, click.v}, {});
    ASSERT_TRUE(r.ok) << r.error;
    sample.current().points = r.points;
    const double deviation = worstDeviation(sample);
    std::printf("extracted from one click: %zu points, largest deviation %.2f %% of the Y range\n",
                r.points.size(), deviation * 100);
    EXPECT_LE(deviation, 0.005);
}

}  // namespace
}  // namespace qf
