// Without the Tesseract module (a package that left it out, a damaged
// install) the reading refuses both axes with a reason naming the module,
// and nothing crashes. In a process of its own, which has not loaded it.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <opencv2/imgproc.hpp>

#include "reading/axis_reading.h"
#include "reading/ocr_engine.h"

namespace qf {
namespace {

TEST(OcrModule, MissingModuleRefusesBothAxesWithItsName) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::filesystem::path empty =
        std::filesystem::temp_directory_path() / "quillfen-no-modules";
    std::filesystem::create_directories(empty);
    cv::Mat chart(300, 400, CV_8UC3, cv::Scalar::all(255));
    cv::line(chart, {50, 250}, {350, 250}, cv::Scalar::all(0), 1);
    cv::line(chart, {50, 250}, {50, 30}, cv::Scalar::all(0), 1);
    EXPECT_EXIT(
        {
            ::setenv("QUILLFEN_MODULE_DIR", empty.c_str(), 1);
            const AxisReading r = readAxes(chart);
            const bool named = r.x.reason.find("quillfen-tesseract.so") != std::string::npos &&
                               r.y.reason == r.x.reason;
            std::fprintf(stderr, "%s", r.x.reason.c_str());
            std::exit(r.frame.found && !r.x.ok && !r.y.ok && named && !ocrAvailable() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "the tick labels cannot be read: .*quillfen-tesseract.so");
}

}  // namespace
}  // namespace qf
