// The window in the user's language: the translators as main() installs
// them, the language choice in the view menu, the guide (F1), and the keys.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <opencv2/imgcodecs.hpp>

#include "app/application_window.h"
#include "app/help_window.h"
#include "app/language.h"
#include "app/output_pane.h"
#include "app/project_controller.h"
#include "common/translate.h"
#include "imaging/image_pair.h"
#include "settings/settings_pane.h"
#include "support/fake_dialogs.h"
#include "support/full_size.h"
#include "view/image_view.h"

namespace qf {
namespace {

std::string str(const QString& s) {
    return s.toStdString();
}

const QStringList kQmFolder{QStringLiteral(QF_QM_FOLDER)};

// Every test starts and ends with the untranslated texts, as the rest of the
// suite expects them.
class LanguageTest : public testing::Test {
protected:
    void SetUp() override { installTranslations({}); }
    void TearDown() override { installTranslations({}); }
};

TEST_F(LanguageTest, EachLanguageReachesTheProgramsTextsQtsOwnAndTheCores) {
    struct Case {
        const char* language;
        const char* fileMenu;
        const char* cancel;        // Qt's own standard button
        const char* unableToOpen;  // the core's message, English in the code
        const char* notFound;      // the core's message, Japanese in the code
    };
    const Case cases[] = {
        {"", "ファイル(&F)", "Cancel", "Unable to Open File. ", "ファイルが見つかりません。"},
        {"ja", "ファイル(&F)", "キャンセル", "ファイルを開けません。",
         "ファイルが見つかりません。"},
        {"en", "&File", "Cancel", "Unable to Open File. ", "The file was not found."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        ASSERT_TRUE(installTranslations(QString::fromLatin1(c.language), kQmFolder));
        EXPECT_EQ(currentInterfaceLanguage(), QString::fromLatin1(c.language));
        EXPECT_EQ(str(QCoreApplication::translate("qf::Commands", "ファイル(&F)")), c.fileMenu);
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        EXPECT_EQ(
            str(box.button(QDialogButtonBox::Cancel)->text()).find(c.cancel) != std::string::npos,
            true)
            << str(box.button(QDialogButtonBox::Cancel)->text());
        EXPECT_EQ(translate("qf::Messages", kUnableToOpenFile), c.unableToOpen);
        EXPECT_EQ(translate("qf::Messages", "ファイルが見つかりません。"), c.notFound);
    }
}

TEST_F(LanguageTest, AMissingTranslationLeavesTheSourceTexts) {
    QTemporaryDir empty;
    EXPECT_FALSE(installTranslations(QStringLiteral("en"), {empty.path()}));
    EXPECT_EQ(currentInterfaceLanguage(), QString());
    EXPECT_EQ(translate("qf::Messages", "ファイルが見つかりません。"),
              "ファイルが見つかりません。");
}

TEST_F(LanguageTest, TheChoiceAndTheSystemLocaleGiveTheLanguage) {
    struct Case {
        LanguageChoice choice;
        const char* locale;
        const char* expected;
    };
    using L = LanguageChoice;
    const Case cases[] = {
        {L::Automatic, "C", ""},       {L::Automatic, "ja_JP", "ja"}, {L::Automatic, "en_GB", "en"},
        {L::Automatic, "de_DE", "en"},  // no German yet
        {L::Automatic, "zh_CN", "en"}, {L::Japanese, "en_US", "ja"},  {L::Japanese, "C", "ja"},
        {L::English, "ja_JP", "en"},   {L::English, "C", "en"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(interfaceLanguage(c.choice, QLocale(QString::fromLatin1(c.locale)))),
                  c.expected)
            << c.locale << " " << static_cast<int>(c.choice);
}

TEST_F(LanguageTest, TheChoiceIsKeptInTheSettingsStore) {
    QTemporaryDir dir;
    QSettings store(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
    EXPECT_EQ(storedLanguageChoice(store), LanguageChoice::Automatic);
    for (LanguageChoice c :
         {LanguageChoice::English, LanguageChoice::Japanese, LanguageChoice::Automatic}) {
        storeLanguageChoice(store, c);
        EXPECT_EQ(storedLanguageChoice(store), c);
    }
    // An edited or foreign value is no choice rather than a wrong one.
    for (const char* v : {"fr", "EN", "1", ""}) {
        store.setValue(QStringLiteral("Workspace/Language"), QString::fromLatin1(v));
        EXPECT_EQ(storedLanguageChoice(store), LanguageChoice::Automatic) << v;
    }
}

class EnglishWindowTest : public LanguageTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(installTranslations(QStringLiteral("en"), kQmFolder));
        window = std::make_unique<ApplicationWindow>(dialogs, CameraSourceMap{});
        window->frame().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window->frame()));
    }
    void TearDown() override {
        window.reset();
        LanguageTest::TearDown();
    }
    MainWindow& frame() { return window->frame(); }

    testing_support::FakeDialogs dialogs;
    std::unique_ptr<ApplicationWindow> window;
};

TEST_F(EnglishWindowTest, MenusPanesAndMessagesAreEnglish) {
    std::vector<std::string> titles;
    for (QAction* a : frame().menuBar()->actions()) titles.push_back(str(a->text()));
    EXPECT_EQ(titles, (std::vector<std::string>{"&File", "&Edit", "&Picture", "F&itting", "&View",
                                                "&Help"}));
    EXPECT_EQ(str(frame().action(ID_FILE_OPEN)->text()), "&Open Picture...");
    EXPECT_EQ(str(frame().action(ID_FIT_RUN)->text()), "Run Fit");
    EXPECT_EQ(str(frame().action(ID_FIT_RUN)->statusTip()), "Run the fit");
    // The menus show the keys beside the texts.
    EXPECT_EQ(frame().action(ID_ZOOM_IN)->shortcut(), QKeySequence(QStringLiteral("Ctrl++")));
    EXPECT_EQ(str(frame().outputPane()->windowTitle()), "Output");
    EXPECT_EQ(str(window->properties().windowTitle()), "Fit Settings");

    const QString missing = QStringLiteral("/nonexistent/chart.png");
    window->projects().openPath(missing);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(str(dialogs.messages.back()),
              "Unable to Open File. \n/nonexistent/chart.png\nThe file was not found.");
}

TEST_F(EnglishWindowTest, ChoosingALanguageStoresItAndSaysWhenItApplies) {
    QAction* japanese = frame().action(ID_LANGUAGE_JAPANESE);
    ASSERT_TRUE(japanese->isEnabled());
    EXPECT_TRUE(frame().action(ID_LANGUAGE_AUTO)->isChecked());
    japanese->trigger();
    EXPECT_TRUE(japanese->isChecked());
    EXPECT_FALSE(frame().action(ID_LANGUAGE_AUTO)->isChecked());
    EXPECT_EQ(storedLanguageChoice(*openWorkspaceStore()), LanguageChoice::Japanese);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(str(dialogs.messages.back()),
              "The new language takes effect the next time Quillfen starts.");
    // The window keeps its language until then.
    EXPECT_EQ(str(frame().action(ID_FIT_RUN)->text()), "Run Fit");
    frame().action(ID_LANGUAGE_AUTO)->trigger();
    EXPECT_EQ(storedLanguageChoice(*openWorkspaceStore()), LanguageChoice::Automatic);
}

// The undo command names its step in the window's language.
TEST_F(EnglishWindowTest, UndoNamesItsStepInEnglish) {
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("chart.png"));
    cv::imwrite(picture.toStdString(), cv::Mat(150, 200, CV_8UC3, cv::Scalar(200, 210, 220)));
    ASSERT_TRUE(window->projects().openPicture(picture));
    QAction* undo = frame().action(ID_EDIT_UNDO);
    QAction* redo = frame().action(ID_EDIT_REDO);
    EXPECT_EQ(str(undo->text()), "&Undo");
    frame().triggerCommand(ID_MAPPING_RUN);
    EXPECT_EQ(str(undo->text()), "&Undo: Run Mapping");
    EXPECT_EQ(str(undo->toolTip()), "Undo: Run Mapping");
    frame().triggerCommand(ID_EDIT_UNDO);
    EXPECT_EQ(str(undo->text()), "&Undo");
    EXPECT_EQ(str(undo->toolTip()), "Undo");
    EXPECT_EQ(str(redo->text()), "&Redo: Run Mapping");
    EXPECT_EQ(str(redo->toolTip()), "Redo: Run Mapping");
}

// The guide opens on F1 in the window's language, with its pictures.
TEST_F(EnglishWindowTest, HelpShowsTheGuideInTheWindowsLanguage) {
    QTest::keyClick(&frame(), Qt::Key_F1);
    auto* help = qobject_cast<HelpWindow*>(frame().helpWindow());
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(str(help->windowTitle()), "Quillfen Help");
    QTextBrowser* b = help->browser();
    EXPECT_EQ(b->source(), HelpWindow::pageFor(QStringLiteral("en")));
    const QString text = b->toPlainText();
    for (const char* words : {"Ctrl+R", "Ctrl+1", "--batch", "Fit Settings"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(words))) << words;
}

TEST(Guide, BothLanguagesShowEveryPictureTheyName) {
    for (const char* language : {"ja", "en"}) {
        QTextBrowser b;
        b.setSource(HelpWindow::pageFor(QString::fromLatin1(language)));
        ASSERT_FALSE(b.toPlainText().isEmpty()) << language;
        int pictures = 0;
        for (QTextBlock block = b.document()->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextImageFormat f = it.fragment().charFormat().toImageFormat();
                if (!f.isValid()) continue;
                ++pictures;
                const QVariant image =
                    b.document()->resource(QTextDocument::ImageResource, QUrl(f.name()));
                EXPECT_TRUE(image.isValid() && !image.value<QImage>().isNull())
                    << language << " " << str(f.name());
            }
        EXPECT_GE(pictures, 1) << language;
    }
}

// The keys act as the commands do (the view's own arrow keys are untouched).
TEST_F(EnglishWindowTest, KeysRunTheToolsAndCommands) {
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("chart.png"));
    cv::imwrite(picture.toStdString(), cv::Mat(150, 200, CV_8UC3, cv::Scalar(200, 210, 220)));
    frame().activateWindow();
    ASSERT_TRUE(window->projects().openPicture(picture));
    test::zoomToFullSize(window->view());
    ViewState& s = window->view().state();
    struct Case {
        QKeySequence keys;
        std::function<bool(const ViewState&)> done;
        const char* what;
    };
    const Case cases[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_3),
         [](auto& v) { return v.tools.tool == Tool::AddPoints; }, "add points"},
        {QKeySequence(Qt::CTRL | Qt::Key_4),
         [](auto& v) { return v.tools.tool == Tool::ErasePoints; }, "erase points"},
        {QKeySequence(Qt::CTRL | Qt::Key_5), [](auto& v) { return v.tools.tool == Tool::Extract; },
         "extract curve"},
        {QKeySequence(Qt::CTRL | Qt::Key_2),
         [](auto& v) { return v.tools.tool == Tool::GraphRect; }, "graph rectangle"},
        {QKeySequence(Qt::CTRL | Qt::Key_1), [](auto& v) { return v.tools.tool == Tool::Corners; },
         "corners"},
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), [](auto& v) { return v.transform.zoomShift == 1; },
         "zoom in"},
        {QKeySequence(Qt::CTRL | Qt::Key_Minus), [](auto& v) { return v.transform.zoomShift == 0; },
         "zoom out"},
        {QKeySequence(Qt::Key_F8), [](auto& v) { return v.display.displaySource == 2; },
         "processed picture"},
        {QKeySequence(Qt::Key_F7), [](auto& v) { return v.display.displaySource == 1; },
         "input picture"},
        {QKeySequence(Qt::CTRL | Qt::Key_G), [](auto& v) { return v.showPixelGrid == 1; },
         "pixel grid"},
    };
    for (const Case& c : cases) {
        QTest::keySequence(&frame(), c.keys);
        EXPECT_TRUE(c.done(s)) << c.what;
    }
}

}  // namespace
}  // namespace qf
