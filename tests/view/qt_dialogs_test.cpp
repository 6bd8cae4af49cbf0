// The desktop's file dialogs, answered through their seam: the name written
// takes the chosen filter's extension, a completed name that exists is asked
// about, and every dialog starts in the folder used last unless told where.

#include "view/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <vector>

namespace qf {
namespace {

const FileDialogRequest kSaveImage{
    QStringLiteral("Save Image File"),
    QStringLiteral("BMP (*.bmp);;JPG (*.jpg);;PNG (*.png);;TIF (*.tif);;All Files (*)"),
    QStringLiteral("bmp")};
const FileDialogRequest kOpenImage{QStringLiteral("Open Image File"),
                                QStringLiteral("Image Files (*.bmp *.jpg *.png *.tif)"), QString()};

// One answer of the user: a filter (empty: the one offered) and a name typed
// in a folder; an empty name cancels.
struct Answer {
    QString filter;
    QString path;
};

class QtDialogsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(a.isValid());
        ASSERT_TRUE(b.isValid());
        QSettings(QStringLiteral("Obrin-Quillfen-Vantor"), QStringLiteral("Quillfen")).clear();
    }
    void TearDown() override {
        QSettings(QStringLiteral("Obrin-Quillfen-Vantor"), QStringLiteral("Quillfen")).clear();
    }

    QtDialogs dialogs() {
        QtDialogs::FileDialogSeam seam;
        seam.run = [this](QFileDialog& dialog) {
            startedIn.push_back(dialog.directory().absolutePath());
            titles.push_back(dialog.windowTitle());
            if (answers.empty()) return false;
            const Answer answer = answers.front();
            answers.erase(answers.begin());
            if (answer.path.isEmpty()) return false;
            if (!answer.filter.isEmpty()) dialog.selectNameFilter(answer.filter);
            dialog.selectFile(answer.path);
            return true;
        };
        seam.confirmReplace = [this](QWidget*, const QString& path) {
            asked.push_back(path);
            return replace;
        };
        return QtDialogs(seam);
    }

    static void touch(const QString& path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    QTemporaryDir a, b;
    std::vector<Answer> answers;
    std::vector<QString> startedIn, titles, asked;
    bool replace = false;
};

TEST_F(QtDialogsTest, TheChosenFilterGivesATypedNameItsExtension) {
    struct Case {
        QString filter;
        const char* typed;
        const char* written;
    };
    const Case cases[] = {
        {QStringLiteral("PNG (*.png)"), "chart", "chart.png"},
        {QString(), "chart", "chart.bmp"},  // the first filter, BMP, as offered
        {QStringLiteral("JPG (*.jpg)"), "chart.tif", "chart.tif"},
        {QStringLiteral("All Files (*)"), "notes.txt", "notes.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        answers = {{c.filter, a.filePath(QString::fromUtf8(c.typed))}};
        EXPECT_EQ(dialogs().saveFile(nullptr, kSaveImage),
                  a.filePath(QString::fromUtf8(c.written)));
    }
    EXPECT_EQ(titles.front(), QStringLiteral("Save Image File"));
    EXPECT_TRUE(asked.empty());
}

TEST_F(QtDialogsTest, ACompletedNameThatExistsIsAskedAbout) {
    touch(a.filePath("chart.png"));
    QtDialogs d = dialogs();
    // "No" returns to the dialog; the second answer is a new name.
    answers = {{QStringLiteral("PNG (*.png)"), a.filePath("chart")},
               {QStringLiteral("PNG (*.png)"), a.filePath("other")}};
    EXPECT_EQ(d.saveFile(nullptr, kSaveImage), a.filePath("other.png"));
    EXPECT_EQ(asked, std::vector<QString>{a.filePath("chart.png")});
    EXPECT_EQ(startedIn.size(), 2u);

    replace = true;
    asked.clear();
    answers = {{QStringLiteral("PNG (*.png)"), a.filePath("chart")}};
    EXPECT_EQ(d.saveFile(nullptr, kSaveImage), a.filePath("chart.png"));
    EXPECT_EQ(asked.size(), 1u);

    // A "no" followed by a cancel writes nothing.
    replace = false;
    answers = {{QStringLiteral("PNG (*.png)"), a.filePath("chart")}, {}};
    EXPECT_TRUE(d.saveFile(nullptr, kSaveImage).isEmpty());
}

TEST_F(QtDialogsTest, ASaveDialogOffersTheProposedNameWithItsType) {
    struct Case {
        FileDialogRequest request;
        const char* proposed;
        const char* filter;  // the type the dialog shows chosen
    };
    const FileDialogRequest csv{QString(), QStringLiteral("CSV(*.csv);;TEXT(*.txt);;ALL(*)"),
                             QStringLiteral("csv")};
    const Case cases[] = {
        // PNG offered though BMP comes first in the list.
        {kSaveImage, "chart.working.png", "PNG (*.png)"},
        {kSaveImage, "chart.BMP", "BMP (*.bmp)"},
        {csv, "study.points.csv", "CSV(*.csv)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.proposed);
        QString shownFilter;
        QtDialogs::FileDialogSeam seam;
        seam.run = [&shownFilter](QFileDialog& dialog) {
            shownFilter = dialog.selectedNameFilter();
            return true;  // accepted as offered
        };
        seam.confirmReplace = [](QWidget*, const QString&) { return false; };
        FileDialogRequest request = c.request;
        request.directory = a.path();
        request.proposedName = QString::fromUtf8(c.proposed);
        EXPECT_EQ(QtDialogs(seam).saveFile(nullptr, request),
                  a.filePath(QString::fromUtf8(c.proposed)));
        EXPECT_EQ(shownFilter, QString::fromUtf8(c.filter));
    }
}

// Two types of one extension differ only in what is written: the dialog
// starts at the one asked for, whatever the proposed name's extension picks,
// and says which one the user left it at.
TEST_F(QtDialogsTest, TypesSharingAnExtensionAreToldApart) {
    const FileDialogRequest csv{QString(),
                                QStringLiteral("CSV(*.csv);;CSV (UTF-8)(*.csv);;TEXT(*.txt)"),
                                QStringLiteral("csv")};
    const struct {
        int offered;
        QString chosen;  // empty: as offered
        int answered;
    } cases[] = {
        {1, QString(), 1},
        {0, QString(), 0},
        {1, QStringLiteral("CSV(*.csv)"), 0},
        {0, QStringLiteral("CSV (UTF-8)(*.csv)"), 1},
        {-1, QString(), 0},  // the proposed name's extension picks the first
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offered);
        QString shown;
        QtDialogs::FileDialogSeam seam;
        seam.run = [&](QFileDialog& dialog) {
            shown = dialog.selectedNameFilter();
            if (!c.chosen.isEmpty()) dialog.selectNameFilter(c.chosen);
            dialog.selectFile(a.filePath("data"));
            return true;
        };
        seam.confirmReplace = [](QWidget*, const QString&) { return false; };
        FileDialogRequest request = csv;
        request.directory = a.path();
        request.proposedName = QStringLiteral("chart.points.csv");
        request.filterIndex = c.offered;
        const SaveAnswer answer = QtDialogs(seam).saveFileAnswer(nullptr, request);
        EXPECT_EQ(shown, csv.filter.split(";;")[c.offered < 0 ? 0 : c.offered]);
        EXPECT_EQ(answer.path, a.filePath("data.csv"));
        EXPECT_EQ(answer.filterIndex, c.answered);
    }
}

TEST_F(QtDialogsTest, DialogsStartInTheFolderUsedLast) {
    QtDialogs d = dialogs();
    FileDialogRequest toB = kSaveImage;
    toB.directory = b.path();
    QTemporaryDir gone;
    touch(a.filePath("three.png"));

    struct Step {
        bool open;
        const FileDialogRequest* request;
        QString answer;  // empty: cancelled
        QString startsIn;
    };
    const QString A = QDir(a.path()).absolutePath();
    const QString B = QDir(b.path()).absolutePath();
    const QString G = QDir(gone.path()).absolutePath();
    const Step steps[] = {
        {false, &kSaveImage, a.filePath("one"), QString()},  // nothing used yet
        {false, &kSaveImage, QString(), A},
        {false, &toB, b.filePath("two"), B},              // told where: starts there
        {false, &kSaveImage, QString(), B},               // and that folder is the last used
        {true, &kOpenImage, a.filePath("three.png"), B},  // an open counts too
        {false, &kSaveImage, QString(), A},
        {false, &toB, QString(), B},
        {false, &kSaveImage, gone.filePath("five"), A},
    };
    for (const Step& s : steps) {
        answers = {{QString(), s.answer}};
        s.open ? d.openFile(nullptr, *s.request) : d.saveFile(nullptr, *s.request);
        if (!s.startsIn.isEmpty()) {
            EXPECT_EQ(startedIn.back(), s.startsIn);
        }
    }
    EXPECT_NE(startedIn.front(), A);
    EXPECT_NE(startedIn.front(), B);
    // A folder removed since its use leaves the dialog to its own start.
    ASSERT_TRUE(gone.remove());
    answers.clear();
    d.saveFile(nullptr, kSaveImage);
    EXPECT_TRUE(lastFileFolder().isEmpty());
    EXPECT_NE(startedIn.back(), G);
}

}  // namespace
}  // namespace qf
