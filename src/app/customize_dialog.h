#pragma once
// "カスタマイズ...": shows and hides the toolbars and their single buttons.
// Changes take effect at once; the frame keeps them with its layout.

#include <QDialog>

class QTreeWidget;
class QTreeWidgetItem;

namespace qf {

class MainWindow;

class CustomizeDialog : public QDialog {
    Q_OBJECT
public:
    explicit CustomizeDialog(MainWindow& frame, QWidget* parent = nullptr);

    // One checkable row per toolbar, with a checkable row per button below it.
    QTreeWidget* tree() const { return m_tree; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill();
    void syncChecks();
    void onItemChanged(QTreeWidgetItem* item);
    void resetAll();

    MainWindow& m_frame;
    QTreeWidget* m_tree = nullptr;
    bool m_filling = false;  // our own check changes are not user edits
};

}  // namespace qf
