#include "view/capture_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <vector>

namespace qf {
namespace {

class CaptureDialogTest : public ::testing::Test {
protected:
    void open(const CaptureSettings& initial = {}) {
        dialog = std::make_unique<CaptureDialog>(
            initial, [this](QWidget*, const QString& text) { warnings.push_back(text); });
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    static void type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        // QTest types ASCII only; other characters arrive as an input method would put them.
        bool ascii = true;
        for (const QChar c : text) ascii = ascii && c.unicode() < 0x80;
        if (ascii)
            QTest::keyClicks(edit, text);
        else
            edit->insert(text);
    }
    void clickOk() {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
    }

    std::unique_ptr<CaptureDialog> dialog;
    std::vector<QString> warnings;
};

TEST_F(CaptureDialogTest, ShowsTheStoredValues) {
    open({1920, 1080, 60});
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("VideoCapture設定パラメータ"));
    EXPECT_EQ(dialog->frameWidthEdit()->text(), QStringLiteral("1920"));
    EXPECT_EQ(dialog->frameHeightEdit()->text(), QStringLiteral("1080"));
    EXPECT_EQ(dialog->frameRateEdit()->text(), QStringLiteral("60"));
}

// No range check: 0 and the largest unsigned value pass, and that one shows
// as itself when the dialog opens again.
TEST_F(CaptureDialogTest, OkStoresUnsignedValues) {
    struct Case {
        QString width, height, rate;
        CaptureSettings expected;
    };
    const Case cases[] = {
        {"1280", "720", "15", {1280, 720, 15}},
        {" 640 ", "+480", "0", {640, 480, 0}},
        {"4294967295", "1", "30", {-1, 1, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width.toStdString());
        warnings.clear();
        open();
        type(dialog->frameWidthEdit(), c.width);
        type(dialog->frameHeightEdit(), c.height);
        type(dialog->frameRateEdit(), c.rate);
        clickOk();
        EXPECT_TRUE(warnings.empty());
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->values(), c.expected);
    }
    open({-1, 1, 30});
    EXPECT_EQ(dialog->frameWidthEdit()->text(), QStringLiteral("4294967295"));
}

TEST_F(CaptureDialogTest, TextThatIsNotAnUnsignedIntegerKeepsTheDialogOpen) {
    struct Case {
        QString text;
        int field;  // 0 width, 1 height, 2 rate
    };
    const Case cases[] = {{"abc", 0},  {"-5", 0},         {"", 0},
                          {"12.5", 1}, {"4294967296", 2}, {"３", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        warnings.clear();
        open({800, 600, 30});
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        QLineEdit* const fields[] = {dialog->frameWidthEdit(), dialog->frameHeightEdit(),
                                     dialog->frameRateEdit()};
        type(fields[c.field], c.text);
        clickOk();
        EXPECT_EQ(warnings, std::vector<QString>{QStringLiteral("正の整数を入力してください。")});
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_NE(dialog->result(), QDialog::Accepted);
        EXPECT_TRUE(fields[c.field]->hasFocus());
        EXPECT_EQ(dialog->values(), (CaptureSettings{800, 600, 30}));

        // Corrected, the same dialog accepts.
        type(fields[c.field], QStringLiteral("100"));
        clickOk();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(warnings.size(), 1u);
    }
}

TEST_F(CaptureDialogTest, CancelIsNotAccepted) {
    open();
    type(dialog->frameWidthEdit(), QStringLiteral("abc"));
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cancel")), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(warnings.empty());
}

}  // namespace
}  // namespace qf
