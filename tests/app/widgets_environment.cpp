// Widgets need a QApplication; the offscreen platform gives one without a
// display.

#include <gtest/gtest.h>
#include <QApplication>
#include <memory>

namespace {

class WidgetsEnvironment : public testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[9] = "quillfen";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] testing::Environment* const kWidgetsEnvironment =
    testing::AddGlobalTestEnvironment(new WidgetsEnvironment);

}  // namespace
