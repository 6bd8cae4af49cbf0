#pragma once
// The version box of the help menu.

#include <QDialog>

namespace qf {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace qf
