// Widgets need a QApplication; the offscreen platform gives one without a
// display. The settings store is a throw-away folder: the frame reads and
// writes its layout and style there, never in the user's own store.

#include <gtest/gtest.h>
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

namespace {

class WidgetsEnvironment : public testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        store_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(store_->isValid());
        for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
            for (auto scope : {QSettings::UserScope, QSettings::SystemScope})
                QSettings::setPath(format, scope, store_->path());
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override {
        app_.reset();
        store_.reset();
    }

private:
    int argc_ = 1;
    char name_[9] = "quillfen";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QTemporaryDir> store_;
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] testing::Environment* const kWidgetsEnvironment =
    testing::AddGlobalTestEnvironment(new WidgetsEnvironment);

}  // namespace
