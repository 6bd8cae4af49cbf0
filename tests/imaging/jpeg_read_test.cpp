// JPEGs that are damaged or built to waste time: what is read, what is
// refused, and what the user is told.

#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>
#include <string>

#include "imaging/codecs/codecs.h"
#include "imaging/image_file.h"
#include "jpeg_fixtures.h"
#include "picture_fixtures.h"
#include "temp_dir.h"

namespace qf {
namespace {

using JpegRead = test::TempDirTest;

cv::Mat noise(int w, int h) {
    cv::Mat m(h, w, CV_8UC3);
    cv::theRNG().state = 17;
    cv::randu(m, cv::Scalar::all(0), cv::Scalar::all(256));
    return m;
}

// A progressive JPEG that repeats its last scan thousands of times was
// decoded scan by scan over the whole picture (minutes for a large one):
// past the scan limit it is refused, saying why; up to it, it reads as
// OpenCV reads it.
TEST_F(JpegRead, ScanFloodsAreRefusedPastTheLimit) {
    const cv::Mat picture = noise(64, 48);
    const std::string reason =
        "The picture is a JPEG of more than 100 scans; the limit is 100 scans.";
    struct Case {
        int scans;
        bool read;
    } cases[] = {
        {10, true}, {codec::kMaxJpegScans, true}, {codec::kMaxJpegScans + 1, false}, {5000, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scans);
        writeBytes(path("flood.jpg"), test::jpegWithScans(picture, c.scans));
        const PictureFileRead r = readPictureFile(path("flood.jpg"), kDefaultMaxPicturePixels);
        EXPECT_FALSE(r.tooLarge);
        if (c.read) {
            const cv::Mat want = cv::imread(path("flood.jpg"), cv::IMREAD_COLOR);
            ASSERT_EQ(r.image.size(), want.size());
            EXPECT_EQ(cv::norm(r.image, want, cv::NORM_INF), 0.0);
            EXPECT_EQ(r.reason, "");
        } else {
            EXPECT_TRUE(r.image.empty());
            EXPECT_EQ(r.reason, reason);
        }
    }
}

// Damage libjpeg meets only after the last row (the end cut and a stray
// marker in its place) left a whole picture that OpenCV reads but the
// program refused. What decodes is read, as OpenCV reads it, and the damage
// is said in a warning, as is damage met on the way.
TEST_F(JpegRead, DamageReadPastGivesThePictureAndAWarning) {
    const std::string jpg = test::encode(".jpg", noise(64, 48));
    cv::Mat cmyk(48, 64, CV_8UC4);
    cv::randu(cmyk, cv::Scalar::all(0), cv::Scalar::all(256));
    const std::string cmykJpg = test::cmykJpeg(cmyk, false);
    const std::string badEnd = "\xFF\x02\xFF\xD9";
    struct Case {
        const char* name;
        std::string bytes;
        const char* damage;  // libjpeg's words, in the warning
    } cases[] = {
        {"whole.jpg", jpg, ""},
        {"bad-end.jpg", jpg.substr(0, jpg.size() - 2) + badEnd, "Unsupported marker type 0x02"},
        {"bad-end-cmyk.jpg", cmykJpg.substr(0, cmykJpg.size() - 2) + badEnd,
         "Unsupported marker type 0x02"},
        {"cut.jpg", jpg.substr(0, jpg.size() * 2 / 3), "Premature end of JPEG file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path(c.name), c.bytes);
        const cv::Mat want = cv::imread(path(c.name), cv::IMREAD_COLOR);
        ASSERT_FALSE(want.empty());
        const PictureFileRead r = readPictureFile(path(c.name), kDefaultMaxPicturePixels);
        ASSERT_EQ(r.image.size(), want.size());
        EXPECT_EQ(cv::norm(r.image, want, cv::NORM_INF), 0.0);
        EXPECT_EQ(r.warning, *c.damage ? std::string("The picture is damaged (") + c.damage +
                                             "); it is shown as it decodes."
                                       : "");
    }
}

}  // namespace
}  // namespace qf
