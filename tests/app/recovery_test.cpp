// Automatic recovery: a window killed in the middle of its work leaves a copy
// that the next start offers back, with its picture; the copy of a window
// still running is never offered; what the user saves, drops or declines
// leaves no copy behind. A folder that is not the user's own directory is
// refused, copies others could have written are not offered, and damaged
// ones make way for the next at once; the output pane says so.

#include "app/recovery.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "app/application_window.h"
#include "app/output_pane.h"
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
    DocumentRecord withPoints(std::size_t count = 2) {
        DocumentRecord r;
        r.image = picture.toStdString();
        r.current().points = {{50, 80}, {80, 70}, {110, 50}};
        r.current().points.resize(count);
        r.axis.yMax = 12;
        return r;
    }
    // A copy with the given text, last written `age` seconds ago.
    QString plantCopy(const QString& name, const std::string& text, int age) {
        QDir().mkpath(folder);
        const QString file = folder + "/" + name;
        EXPECT_TRUE(writeFileAtomically(file.toStdString(), text).ok);
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(QDateTime::currentDateTime().addSecs(-age),
                      QFileDevice::FileModificationTime);
        return file;
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
    EXPECT_TRUE(w.view().state().picture.applied);
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
        EXPECT_EQ(w.projects().document().record().current().points.size(), c.restored ? 2u : 0u);
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
    doc.edit("点の追加", [](DocumentRecord& r) { r.current().points.push_back({50, 50}); });
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

    doc.edit("点の追加", [](DocumentRecord& r) { r.current().points.push_back({60, 60}); });
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
    r.current().fit.degree = 4;
    plantOrphan(r, "");
    ApplicationWindow w(dialogs, CameraSourceMap{});
    RecoveryStore store(folder);
    store.watch(w.projects().document());
    dialogs.choiceAnswers = {0};
    ASSERT_TRUE(offerRecovery(store, w.projects(), dialogs, &w.frame()));
    EXPECT_EQ(w.projects().document().record(), r);
    EXPECT_TRUE(w.projects().document().isModified());
}

// Nobody but root can make a file that belongs to another user.
constexpr uid_t kOtherUser = 65534;
constexpr gid_t kOtherGroup = 65534;

struct FolderCase {
    const char* name;
    // Puts something at the folder's place; returns the directory copies
    // would land in through it (empty: none).
    QString (*make)(const QString& folder, const QString& elsewhere);
    const char* said;
    bool needsRoot;
};

void PrintTo(const FolderCase& c, std::ostream* os) {
    *os << c.name;
}

class RecoveryFolderTest : public RecoveryTest, public testing::WithParamInterface<FolderCase> {};

// Neither at start nor with the first unsaved change does a refused folder
// get a copy, a lock or a new mode, and nothing in it is offered.
TEST_P(RecoveryFolderTest, IsRefusedInThePane) {
    const FolderCase& c = GetParam();
    if (c.needsRoot && ::geteuid() != 0) GTEST_SKIP() << "needs root to give a folder away";
    QDir().mkpath(QFileInfo(folder).path());
    const QString landing = c.make(folder, dir.filePath("elsewhere"));
    QString orphan;
    if (!landing.isEmpty()) {
        ASSERT_TRUE(
            writeFileAtomically((landing + "/recovery-4194000-1.quillfen.json").toStdString(),
                                recoveryText(withPoints(), ""))
                .ok);
        ASSERT_EQ(::chmod(QFile::encodeName(landing).constData(), 0755), 0);
    }
    auto landed = [&] {
        return landing.isEmpty() ? QStringList()
                                 : QDir(landing).entryList(QDir::Files | QDir::Hidden);
    };
    const QStringList before = landed();

    ApplicationWindow w(dialogs, CameraSourceMap{});
    OutputPane* pane = w.frame().outputPane();
    RecoveryStore store(folder);
    store.setOutput(pane);
    store.watch(w.projects().document());
    dialogs.choiceAnswers = {0};
    EXPECT_FALSE(offerRecovery(store, w.projects(), dialogs, &w.frame()));
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_TRUE(pane->paneText(0).contains(folder)) << pane->paneText(0).toStdString();
    EXPECT_TRUE(pane->paneText(0).contains(QString::fromUtf8(c.said)))
        << pane->paneText(0).toStdString();
    EXPECT_EQ(pane->activeOutputTab(), 0);

    w.projects().document().edit("点の追加", [](DocumentRecord& r) {
        r.current().points.push_back({50, 50});
    });
    EXPECT_FALSE(store.writeNow().isEmpty());
    EXPECT_EQ(landed(), before);
    if (!landing.isEmpty()) {
        EXPECT_EQ(QFileInfo(landing).permissions() & QFileDevice::ReadOther,
                  QFileDevice::ReadOther);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, RecoveryFolderTest,
    testing::Values(FolderCase{"LinkToADirectory",
                               [](const QString& folder, const QString& elsewhere) {
                                   QDir().mkpath(elsewhere);
                                   QFile::link(elsewhere, folder);
                                   return elsewhere;
                               },
                               "シンボリックリンク", false},
                    FolderCase{"File",
                               [](const QString& folder, const QString&) {
                                   EXPECT_TRUE(
                                       writeFileAtomically(folder.toStdString(), "notes").ok);
                                   return QString();
                               },
                               "フォルダではありません", false},
                    FolderCase{"AnotherUsersDirectory",
                               [](const QString& folder, const QString&) {
                                   QDir().mkpath(folder);
                                   EXPECT_EQ(::chown(QFile::encodeName(folder).constData(),
                                                     kOtherUser, kOtherGroup),
                                             0);
                                   return folder;
                               },
                               "他のユーザーのもの", true}),
    [](const auto& info) { return std::string(info.param.name); });

struct NewestCase {
    const char* name;
    bool damaged;
    mode_t mode;
    uid_t owner;       // -1: the user's own
    gid_t group;       // -1: the user's own
    bool offered;      // the newest is offered; else the older one at once
    bool left;         // the newest is still there after the start
    const char* said;  // nullptr: the pane says nothing
};

void PrintTo(const NewestCase& c, std::ostream* os) {
    *os << c.name;
}

class RecoveryNewestTest : public RecoveryTest, public testing::WithParamInterface<NewestCase> {};

// The newest copy is offered only if it is whole and nobody else could have
// written it; else the start says why and offers the next copy at once.
TEST_P(RecoveryNewestTest, OrTheNextOneAtOnce) {
    const NewestCase& c = GetParam();
    const bool giveAway = c.owner != uid_t(-1) || c.group != gid_t(-1);
    if (giveAway && ::geteuid() != 0) GTEST_SKIP() << "needs root to give a file away";
    const QString older =
        plantCopy("recovery-4194000-1.quillfen.json", recoveryText(withPoints(2), ""), 120);
    const QString newest = plantCopy(
        "recovery-4194001-2.quillfen.json",
        c.damaged ? std::string("{\"format\": \"quillfen-pro") : recoveryText(withPoints(3), ""),
        60);
    ASSERT_EQ(::chmod(QFile::encodeName(newest).constData(), c.mode), 0);
    if (giveAway) {
        ASSERT_EQ(::chown(QFile::encodeName(newest).constData(), c.owner, c.group), 0);
    }

    ApplicationWindow w(dialogs, CameraSourceMap{});
    OutputPane* pane = w.frame().outputPane();
    const QString usage = pane->paneText(0);
    RecoveryStore store(folder);
    store.setOutput(pane);
    store.watch(w.projects().document());
    dialogs.choiceAnswers = {0};
    EXPECT_TRUE(offerRecovery(store, w.projects(), dialogs, &w.frame()));
    EXPECT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(w.projects().document().record().current().points.size(), c.offered ? 3u : 2u);
    EXPECT_EQ(QFile::exists(newest), c.left);
    EXPECT_EQ(QFile::exists(older), c.offered);  // the restored one became this window's
    if (c.said) {
        EXPECT_TRUE(pane->paneText(0).contains(newest)) << pane->paneText(0).toStdString();
        EXPECT_TRUE(pane->paneText(0).contains(QString::fromUtf8(c.said)))
            << pane->paneText(0).toStdString();
    } else {
        EXPECT_EQ(pane->paneText(0), usage);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Copies, RecoveryNewestTest,
    testing::Values(NewestCase{"Whole", false, 0600, uid_t(-1), gid_t(-1), true, false, nullptr},
                    // A umask of 002 gave the copies of older versions this mode.
                    NewestCase{"WritableByTheUsersGroup", false, 0664, uid_t(-1), gid_t(-1), true,
                               false, nullptr},
                    NewestCase{"Damaged", true, 0600, uid_t(-1), gid_t(-1), false, false,
                               "壊れた回復用ファイルを削除しました"},
                    NewestCase{"WritableByAll", false, 0666, uid_t(-1), gid_t(-1), false, true,
                               "他のユーザーも書き込めます"},
                    NewestCase{"WritableByAnotherGroup", false, 0664, uid_t(-1), kOtherGroup, false,
                               true, "他のユーザーも書き込めます"},
                    NewestCase{"AnotherUsers", false, 0600, kOtherUser, gid_t(-1), false, true,
                               "他のユーザーのものです"}),
    [](const auto& info) { return std::string(info.param.name); });

// Whatever the umask, the copies are the user's alone: else a user with a
// umask of 000 would never be offered one.
TEST_F(RecoveryTest, CopiesAreTheUsersAloneWhateverTheUmask) {
    ApplicationWindow w(dialogs, CameraSourceMap{});
    RecoveryStore store(folder);
    store.watch(w.projects().document());
    w.projects().document().edit("点の追加", [](DocumentRecord& r) {
        r.current().points.push_back({50, 50});
    });
    const mode_t saved = ::umask(0);
    const QString failed = store.writeNow();
    ::umask(saved);
    ASSERT_TRUE(failed.isEmpty()) << failed.toStdString();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(store.filePath()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);
}

}  // namespace
}  // namespace qf
