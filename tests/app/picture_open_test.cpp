// Opening a picture as the window does: one that cannot be read changes
// nothing and says why, naming the file; one read past its damage opens and
// says so on the page "出力".

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <opencv2/imgcodecs.hpp>

#include "app/application_window.h"
#include "app/output_pane.h"
#include "app/project_controller.h"
#include "imaging/picture_fixtures.h"
#include "support/fake_dialogs.h"
#include "support/full_size.h"
#include "view/image_view.h"

namespace qf {
namespace {

class PictureOpenTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        w.frame().resize(800, 600);  // the view smaller than the 1000 x 800 picture
        w.frame().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.frame()));
    }

    // Writes a grey picture as a PNG and opens it as the user would.
    void open(int width, int height) {
        const QString path = dir.filePath(QStringLiteral("picture%1.png").arg(files++));
        ASSERT_TRUE(
            cv::imwrite(path.toStdString(), cv::Mat(height, width, CV_8UC3, cv::Scalar::all(128))));
        ASSERT_TRUE(w.projects().openPicture(path));
        test::zoomToFullSize(view());
        scrollTo({0, 0});
    }
    void settle() {
        for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
    }
    // Through the scroll bars, as the user drags them.
    void scrollTo(IntPoint at) {
        settle();
        view().horizontalScrollBar()->setValue(at.x);
        view().verticalScrollBar()->setValue(at.y);
        ASSERT_EQ(s().transform.scrollPos, at);
    }

    ImageView& view() { return w.view(); }
    ViewState& s() { return view().state(); }

    QTemporaryDir dir;
    int files = 0;
    testing_support::FakeDialogs dialogs;
    ApplicationWindow w{dialogs, CameraSourceMap{}};
};

// A file that is no picture must not take the work on the current one away:
// the picture, its scroll position and the points stay, and the message
// names the file and the reason.
TEST_F(PictureOpenTest, FailedLoadChangesNothing) {
    open(1000, 800);
    scrollTo({300, 200});
    addSourcePoint(s().doc.current().points, {10, 20});
    const QString notAPicture = dir.filePath(QStringLiteral("notes.png"));
    {
        QFile f(notAPicture);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
    }
    const QString missing = dir.filePath(QStringLiteral("missing.png"));
    for (const QString& path : {missing, notAPicture, dir.path()}) {
        EXPECT_FALSE(w.projects().openPicture(path));
        settle();
        EXPECT_EQ(s().imageSize(), (IntSize{1000, 800}));
        EXPECT_EQ(s().transform.scrollPos, (IntPoint{300, 200}));
        EXPECT_GT(view().horizontalScrollBar()->maximum(), 0);
        EXPECT_EQ(s().pointCount(), 1);
    }
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[0],
              "Unable to Open File. \n" + missing + "\nファイルが見つかりません。");
    EXPECT_TRUE(dialogs.messages[1].startsWith("Unable to Open File. \n" + notAPicture + "\n画像"));
    EXPECT_TRUE(dialogs.messages[2].endsWith("フォルダーです。画像ファイルを選んでください。"));
}

// A file declaring a picture over the limit is refused from its header, the
// message naming its size, the limit and where the limit is set.
TEST_F(PictureOpenTest, PictureOverTheLimitIsRefusedNamingItsSize) {
    open(1000, 800);
    const QString bomb = dir.filePath(QStringLiteral("bomb.png"));
    {
        QFile f(bomb);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const std::string bytes = test::pngDeclaring(30000, 30000);
        f.write(bytes.data(), qint64(bytes.size()));
    }
    EXPECT_FALSE(w.projects().openPicture(bomb));
    EXPECT_EQ(s().imageSize(), (IntSize{1000, 800}));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(
        dialogs.messages[0],
        "Unable to Open File. \n" + bomb +
            QStringLiteral("\n画像が大きすぎます: 30000 × 30000 ピクセル（900 メガピクセル）。"
                           "上限は 100 メガピクセルです（設定 Workspace/MaxPictureMegapixels "
                           "で変更できます）。"));
}

// A picture refused for another reason than its size says that reason; a
// damaged one that still decodes opens, its damage said on the page "出力".
TEST_F(PictureOpenTest, RefusedAndDamagedPicturesSaySo) {
    OutputPane& pane = *w.frame().outputPane();
    open(1000, 800);
    const auto write = [&](const char* name, const std::string& bytes) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
        return path;
    };
    cv::Mat noise(48, 64, CV_8UC3);
    cv::randu(noise, cv::Scalar::all(0), cv::Scalar::all(256));
    const QString flood = write("flood.jpg", test::jpegWithScans(noise, 5000));
    EXPECT_FALSE(w.projects().openPicture(flood));
    EXPECT_EQ(s().imageSize(), (IntSize{1000, 800}));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0],
              "Unable to Open File. \n" + flood +
                  "\nThe picture is a JPEG of more than 100 scans; the limit is 100 scans.");

    const std::string jpg = test::encode(".jpg", noise);
    const QString damaged =
        write("damaged.jpg", jpg.substr(0, jpg.size() - 2) + "\xFF\x02\xFF\xD9");
    ASSERT_TRUE(w.projects().openPicture(damaged));
    EXPECT_EQ(s().imageSize(), (IntSize{64, 48}));
    EXPECT_EQ(pane.paneText(0), QStringLiteral("The picture is damaged (Unsupported marker type "
                                               "0x02); it is shown as it decodes."));
}

}  // namespace
}  // namespace qf
