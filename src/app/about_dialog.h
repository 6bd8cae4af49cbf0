#pragma once
// The version box of the help menu.

#include <QDialog>

namespace qf {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace qf
