#pragma once
// Drives the assembled window as a user would: the mouse on the view, typed
// edits in the settings pane.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTreeView>

#include "settings/panel_settings.h"
#include "settings/settings_grid.h"
#include "view/image_view.h"

namespace qf::testing_support {

// Types into an item's editor and accepts the edit with Enter.
inline void enterInPane(SettingsGrid& grid, PanelItem item, const char* text) {
    QTreeView* tree = grid.tree();
    const QModelIndex index = grid.valueIndex(item);
    tree->scrollTo(index);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClicks(editor, QString::fromUtf8(text));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the grid commits Enter from its queue
}

// Picks a choice of a fixed list and accepts it with Enter.
inline void chooseInPane(SettingsGrid& grid, PanelItem item, const char* text) {
    QTreeView* tree = grid.tree();
    const QModelIndex index = grid.valueIndex(item);
    tree->scrollTo(index);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
    auto* combo = qobject_cast<QComboBox*>(QApplication::focusWidget());
    ASSERT_NE(combo, nullptr);
    const int choice = combo->findText(QString::fromUtf8(text));
    ASSERT_GE(choice, 0) << text;
    combo->setCurrentIndex(choice);
    QTest::keyClick(combo, Qt::Key_Return);
    QApplication::processEvents();
}

// A left-button drag on the view, at viewport pixels.
inline void dragOnView(ImageView& view, QPoint from, QPoint to) {
    QWidget* port = view.viewport();
    QTest::mousePress(port, Qt::LeftButton, {}, from);
    QTest::mouseMove(port, (from + to) / 2);
    QTest::mouseMove(port, to);
    QTest::mouseRelease(port, Qt::LeftButton, {}, to);
}

inline void clickOnView(ImageView& view, QPoint at) {
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
}

}  // namespace qf::testing_support
