// Automatic recovery: a window killed in the middle of its work leaves a copy
// that the next start offers back, with its picture; the copy of a window
// still running is never offered; what the user saves, drops or declines
// leaves no copy behind.

#include "app/recovery.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "app/application_window.h"
#include "app/project_controller.h"
#include "common/atomic_file.h"
#include "project/project_file.h"
#include "support/fake_dialogs.h"
#include "window_driver.h"

namespace qf {
namespace {

class RecoveryTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = dir.filePath("state/quillfen");
        picture = dir.filePath("chart.png");
        cv::Mat m(120, 160, CV_8UC3, cv::Scalar(235, 240, 245));
        cv::line(m, {20, 100}, {140, 30}, cv::Scalar(30, 30, 30), 2);
        ASSERT_TRUE(cv::imwrite(picture.toStdString(), m));
    }

    QStringList filesIn(const QString& pattern) {
        return QDir(folder).entryList({pattern}, QDir::Files);
    }
    // A copy left by a window that is gone: no lock beside it.
    QString plantOrphan(const DocumentRecord& r, const std::string& of) {
        QDir().mkpath(folder);
        const QString file = folder + "/recovery-4194000-1.quillfen.json";
        EXPECT_TRUE(writeFileAtomically(file.toStdString(), recoveryText(r, of)).ok);
        return file;
    }
    DocumentRecord withPoints() {
        DocumentRecord r;
        r.image = picture.toStdString();
        r.points = {{50, 80}, {80, 70}};
        r.axis.yMax = 12;
        return r;
    }

    QTemporaryDir dir;
    QString folder;
    QString picture;
    testing_support::FakeDialogs dialogs;
};

TEST_F(RecoveryTest, AKilledWindowsWorkIsRestoredWithItsPicture) {
    const QString project = dir.filePath("work.quillfen.json");
    const QString expected = dir.filePath("expected.json");
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));  // not the user's settings
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QF_RECOVERY_CHILD, {folder, picture, project, expected});
    ASSERT_TRUE(child.waitForStarted());

    // The child writes down its record; its copy follows within moments.
    auto copyOfChild = [&] {
        const QStringList copies = filesIn("recovery-*.quillfen.json");
        return copies.isEmpty() ? ProjectReadResult{}
                                : readProjectFile((folder + "/" + copies[0]).toStdString());
    };
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (child.state() != QProcess::Running) return true;
            const ProjectReadResult copy = copyOfChild();
            return copy.ok && QFile::exists(expected) &&
                   copy.project == readProjectFile(expected.toStdString()).project;
        },
        60000));
    ASSERT_EQ(child.state(), QProcess::Running) << "exit " << child.exitCode();
    const ProjectReadResult want = readProjectFile(expected.toStdString());
    ASSERT_TRUE(want.ok) << want.error;

    {
        // A running window's copy is its own: nobody else is offered it.
        RecoveryStore probe(folder);
        EXPECT_TRUE(probe.orphans().isEmpty());
    }

    child.kill();  // SIGKILL: no clean-up runs
    ASSERT_TRUE(child.waitForFinished());

    ApplicationWindow w(dialogs, CameraSourceMap{});
    RecoveryStore store(folder);
    store.watch(w.projects().document());
    ASSERT_EQ(store.orphans().size(), 1);
    dialogs.choiceAnswers = {0};
    ASSERT_TRUE(offerRecovery(store, w.projects(), dialogs, &w.frame()));
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_TRUE(dialogs.questions[0].contains("work.quillfen.json"));

    const Document& doc = w.projects().document();
    EXPECT_EQ(doc.record(), want.project);
    EXPECT_EQ(w.view().state().images.inputImage.cols, 160);
    EXPECT_TRUE(w.view().state().picture.mappingApplied);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.projectPath(), project);
    // The orphan became this window's own copy.
    EXPECT_EQ(filesIn("recovery-*.quillfen.json"),
              QStringList{QFileInfo(store.filePath()).fileName()});
    EXPECT_TRUE(store.orphans().isEmpty());
}

TEST_F(RecoveryTest, TheAnswerDecidesWhatBecomesOfTheCopy) {
    struct Case {
        int answer;  // restore, discard, later (the box closed)
        bool restored;
        bool orphanLeft;
    };
    const Case cases[] = {{0, true, false}, {1, false, false}, {2, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        const QString orphan = plantOrphan(withPoints(), "");
        ApplicationWindow w(dialogs, CameraSourceMap{});
        RecoveryStore store(folder);
        store.watch(w.projects().document());
        dialogs.choiceAnswers = {c.answer};
        EXPECT_EQ(offerRecovery(store, w.projects(), dialogs, &w.frame()), c.restored);
        EXPECT_EQ(QFile::exists(orphan), c.orphanLeft);
        EXPECT_EQ(w.projects().document().record().points.size(), c.restored ? 2u : 0u);
        EXPECT_EQ(w.projects().document().projectPath(), QString());
        QFile::remove(orphan);
    }
}

TEST_F(RecoveryTest, TheCopyFollowsUnsavedChangesAndGoesWithThem) {
    auto w = std::make_unique<ApplicationWindow>(dialogs, CameraSourceMap{});
    auto store = std::make_unique<RecoveryStore>(folder);
    Document& doc = w->projects().document();
    store->watch(doc);
    const QString copy = store->filePath();
    auto written = [&] { return QTest::qWaitFor([&] { return QFile::exists(copy); }, 10000); };

    ASSERT_TRUE(w->projects().openPicture(picture));  // where the work starts
    QApplication::processEvents();
    EXPECT_FALSE(QFile::exists(copy));
    // Nothing unsaved yet: not even the folder or the window's lock exists.
    EXPECT_FALSE(QDir(folder).exists());
    doc.edit("点の追加", [](DocumentRecord& r) { r.points.push_back({50, 50}); });
    ASSERT_TRUE(written());
    EXPECT_EQ(readProjectFile(copy.toStdString()).project, doc.record());
    // The first copy brings its lock and a folder only its owner may enter.
    EXPECT_EQ(filesIn("*.lock").size(), 1);
    EXPECT_EQ(QFile::permissions(folder) & (QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                            QFileDevice::ExeGroup | QFileDevice::ExeOther),
              QFileDevice::Permissions());
    // A second window sees this running window's copy as no orphan.
    EXPECT_TRUE(RecoveryStore(folder).orphans().isEmpty());

    dialogs.saveAnswers = {dir.filePath("saved")};
    ASSERT_TRUE(w->projects().saveAs());  // saved: no copy
    EXPECT_FALSE(QFile::exists(copy));

    doc.edit("点の追加", [](DocumentRecord& r) { r.points.push_back({60, 60}); });
    ASSERT_TRUE(written());
    const ProjectReadResult read = readProjectFile(copy.toStdString());
    EXPECT_EQ(read.recoveryOf, dir.filePath("saved.quillfen.json").toStdString());
    doc.undo();  // back to what the file holds
    EXPECT_FALSE(QFile::exists(copy));

    doc.redo();
    ASSERT_TRUE(written());
    store.reset();  // a clean exit
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_TRUE(filesIn("*").isEmpty()) << filesIn("*").join(' ').toStdString();
}

TEST_F(RecoveryTest, WorkBeforeAnyPictureIsKeptToo) {
    DocumentRecord r;
    r.fit.degree = 4;
    plantOrphan(r, "");
    ApplicationWindow w(dialogs, CameraSourceMap{});
    RecoveryStore store(folder);
    store.watch(w.projects().document());
    dialogs.choiceAnswers = {0};
    ASSERT_TRUE(offerRecovery(store, w.projects(), dialogs, &w.frame()));
    EXPECT_EQ(w.projects().document().record(), r);
    EXPECT_TRUE(w.projects().document().isModified());
}

}  // namespace
}  // namespace qf
