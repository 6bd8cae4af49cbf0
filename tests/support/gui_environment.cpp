// Fonts and QPainter text need a QGuiApplication; the offscreen platform
// gives one without a display.

#include <gtest/gtest.h>
#include <QGuiApplication>
#include <memory>

namespace {

class GuiEnvironment : public testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[9] = "quillfen";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] testing::Environment* const kGuiEnvironment =
    testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
