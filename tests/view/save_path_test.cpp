// The name a save dialog's answer stands for: the filter chosen decides the
// extension of a name typed without one, and an extension typed is kept.

#include "view/save_path.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

const QString kImages =
    QStringLiteral("BMP (*.bmp);;JPG (*.jpg);;PNG (*.png);;TIF (*.tif);;All Files (*)");
const QString kCsv = QStringLiteral("CSV(*.csv);;TEXT(*.txt);;ALL(*)");
const QString kProject = QStringLiteral("Quillfen プロジェクト (*.quillfen.json)");

TEST(SavePathTest, TheChosenFilterDecidesTheExtensionOfANameWithout) {
    struct Case {
        const char* typed;
        QString selected;
        QString filters;
        const char* defaultSuffix;
        const char* expected;
    };
    const Case cases[] = {
        // The fault: PNG chosen, a BMP written.
        {"/d/chart", "PNG (*.png)", kImages, "bmp", "/d/chart.png"},
        {"/d/chart", "BMP (*.bmp)", kImages, "bmp", "/d/chart.bmp"},
        {"/d/chart", "TIF (*.tif)", kImages, "bmp", "/d/chart.tif"},
        {"/d/chart", "TEXT(*.txt)", kCsv, "csv", "/d/chart.txt"},
        // Names that already say their format, in any case.
        {"/d/chart.png", "PNG (*.png)", kImages, "bmp", "/d/chart.png"},
        {"/d/chart.PNG", "PNG (*.png)", kImages, "bmp", "/d/chart.PNG"},
        {"/d/chart.jpg", "PNG (*.png)", kImages, "bmp", "/d/chart.jpg"},
        {"/d/points.txt", "CSV(*.csv)", kCsv, "csv", "/d/points.txt"},
        // A dot that is no extension of this dialog's.
        {"/d/run.2024", "PNG (*.png)", kImages, "bmp", "/d/run.2024.png"},
        {"/d/chart.", "PNG (*.png)", kImages, "bmp", "/d/chart.png"},
        {"/d/.hidden", "PNG (*.png)", kImages, "bmp", "/d/.hidden.png"},
        {"/d.old/chart", "PNG (*.png)", kImages, "bmp", "/d.old/chart.png"},
        // No extension in the filter: only a bare name gets the default.
        {"/d/chart", "All Files (*)", kImages, "bmp", "/d/chart.bmp"},
        {"/d/notes.txt", "All Files (*)", kImages, "bmp", "/d/notes.txt"},
        {"/d/points", "ALL(*)", kCsv, "csv", "/d/points.csv"},
        {"/d/points", "ALL(*)", kCsv, "", "/d/points"},
        // Two-part extensions: the owner completes "x.json" itself.
        {"/d/work", kProject, kProject, "quillfen.json", "/d/work.quillfen.json"},
        {"/d/work.json", kProject, kProject, "quillfen.json", "/d/work.json"},
        {"/d/work.Quillfen.JSON", kProject, kProject, "quillfen.json", "/d/work.Quillfen.JSON"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " / " + c.selected.toStdString());
        EXPECT_EQ(savePathFor(QString::fromUtf8(c.typed), c.selected, c.filters,
                              QString::fromUtf8(c.defaultSuffix))
                      .toStdString(),
                  c.expected);
    }
}

TEST(SavePathTest, FilterSuffixes) {
    struct Case {
        const char* filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"PNG (*.png)", {"png"}},
        {"CSV(*.csv)", {"csv"}},
        {"Image Files (*.bmp *.jpg *.png *.tif)", {"bmp", "jpg", "png", "tif"}},
        {"All Files (*)", {}},
        {"All Files (*.*)", {}},
        {"Backups (*.b?k)", {}},
        {"Pictures (2024) (*.png)", {"png"}},
        {"*.csv", {"csv"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(filterSuffixes(QString::fromUtf8(c.filter)), c.expected) << c.filter;
}

TEST(ProposedSaveNameTest, TheProjectsOrThePicturesNameWithTheExtensionOfWhatIsSaved) {
    using F = SavedFile;
    struct Case {
        const char* project;
        const char* picture;
        SavedFile what;
        const char* proposed;
    } const cases[] = {
        {"/w/study.quillfen.json", "/p/chart.png", F::Project, "study.quillfen.json"},
        {"/w/study.quillfen.json", "/p/chart.png", F::SourcePoints, "study.points.csv"},
        {"/w/study.quillfen.json", "/p/chart.png", F::GeneratedPoints, "study.fit.csv"},
        {"/w/study.quillfen.json", "/p/chart.png", F::Picture, "study.working.png"},
        {"/w/study.quillfen.json", "/p/chart.png", F::GraphImage, "study.graph.png"},
        {"/w/study.quillfen.json", "/p/chart.png", F::FitJson, "study.fit.json"},
        {"/w/Old.JSON", "", F::Project, "Old.quillfen.json"},
        // Untitled: the picture's base name, never the picture's own file.
        {"", "/p/chart.png", F::Project, "chart.quillfen.json"},
        {"", "/p/chart.png", F::Picture, "chart.working.png"},
        {"", "/p/scan 2.v1.jpg", F::SourcePoints, "scan 2.v1.points.csv"},
        {"", "/p/.hidden", F::FitJson, ".hidden.fit.json"},
        // Neither: the batch mode's names, and no project name.
        {"", "", F::FitJson, "fit.json"},
        {"", "", F::GeneratedPoints, "fit.csv"},
        {"", "", F::Project, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            proposedSaveName(QString::fromUtf8(c.project), QString::fromUtf8(c.picture), c.what),
            QString::fromUtf8(c.proposed))
            << c.project << " " << c.picture;
    }
}

}  // namespace
}  // namespace qf
