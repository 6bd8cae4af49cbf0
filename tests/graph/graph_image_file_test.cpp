#include "graph/graph_image_file.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "graph_test_support.h"

namespace qf {
namespace {

using namespace qf::test;

std::string leadingBytes(const std::string& path, std::size_t n) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(n, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(n));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

class GraphImageFile : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        scene_ = sceneOf({160, 120}, &graph_);
        scene_.style.colour = 0x0000FF;
        // Zoomed and scrolled in the window; the file is always 1:1.
        scene_.view.zoomShift = 2;
        scene_.view.cellSize = {4, 4};
        scene_.view.scrollPos = {40, 100};
    }
    std::string path(const std::string& name) const {
        return dir_.filePath(name.c_str()).toStdString();
    }

    QTemporaryDir dir_;
    GeneratedGraph graph_ = graphOf({{0, 0.1}, {0.5, 0.2}, {1, 0.1}});  // clear of row 57
    GraphScene scene_;
};

TEST_F(GraphImageFile, RendersAtOneToOneOnWhite) {
    const QImage canvas = renderGeneratedGraphImage(scene_);
    ASSERT_EQ(canvas.size(), QSize(160, 120));
    EXPECT_EQ(colourAt(canvas, 0, 0), kWhite);
    EXPECT_EQ(columnsWith(canvas, 57, 50, 120, 0x0000FF),
              (std::set<int>{54, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100, 104, 105}));
    EXPECT_TRUE(renderGeneratedGraphImage(sceneOf({0, 0})).isNull());
}

TEST_F(GraphImageFile, PngHoldsExactlyTheRenderedChart) {
    const std::string file = path("graph.png");
    const GraphImageSaveResult r = SaveGeneratedGraphImage(scene_, file);
    ASSERT_TRUE(r.saved) << r.message;
    EXPECT_TRUE(r.message.empty());
    const QImage read(QString::fromStdString(file));
    ASSERT_EQ(read.size(), QSize(160, 120));
    // Frame on (55, 55)-(105, 85), every pixel as rendered.
    for (int x = 55; x <= 105; ++x) {
        ASSERT_EQ(colourAt(read, x, 55), 0x0000FFu) << x;
        ASSERT_EQ(colourAt(read, x, 85), 0x0000FFu) << x;
    }
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32),
              renderGeneratedGraphImage(scene_).convertToFormat(QImage::Format_RGB32));
}

TEST_F(GraphImageFile, FormatFollowsTheExtension) {
    struct Case {
        const char* name;
        std::string magic;
    };
    const Case cases[] = {
        {"g.bmp", "BM"},
        {"g.jpg", "\xFF\xD8\xFF"},
        {"g.jpeg", "\xFF\xD8\xFF"},
        {"g.png", "\x89PNG"},
        {"g.tif", std::string("II*\0", 4)},
        {"g.tiff", std::string("II*\0", 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const GraphImageSaveResult r = SaveGeneratedGraphImage(scene_, path(c.name));
        ASSERT_TRUE(r.saved) << r.message;
        EXPECT_EQ(leadingBytes(path(c.name), c.magic.size()), c.magic);
    }
}

TEST_F(GraphImageFile, UnknownExtensionOrUnwritablePathFails) {
    const std::string cases[] = {
        path("graph.txt"),
        path("graph.gif"),  // no encoder for GIF
        path("graph"),
        path("missing/graph.png"),
    };
    for (const std::string& file : cases) {
        SCOPED_TRACE(file);
        const GraphImageSaveResult r = SaveGeneratedGraphImage(scene_, file);
        EXPECT_FALSE(r.saved);
        EXPECT_EQ(r.message, "Save image failed:\n80004005");
        EXPECT_FALSE(std::filesystem::exists(file));
    }
}

TEST_F(GraphImageFile, NothingWithoutImage) {
    const GraphImageSaveResult r = SaveGeneratedGraphImage(sceneOf({0, 120}), path("g.png"));
    EXPECT_FALSE(r.saved);
    EXPECT_TRUE(r.message.empty());
    EXPECT_FALSE(std::filesystem::exists(path("g.png")));
}

}  // namespace
}  // namespace qf
