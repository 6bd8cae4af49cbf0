#pragma once
// Pieces of a tab widget whose pages can be dragged out into their own
// window: the tab bar that notices the drag, and the window that holds a page
// while it is out.

#include <QPoint>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

namespace qf {

// A tab bar that reports a tab dragged beyond the start-drag distance off the
// bar, then follows the same press until its release, so the page can float
// with the pointer and be dropped back in one gesture.
class DetachTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit DetachTabBar(QWidget* parent = nullptr);

signals:
    void detachRequested(int index, QPoint globalPos);
    void floatingDragMoved(QPoint globalPos);
    void floatingDragDropped(QPoint globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_pressIndex = -1;
    QPoint m_pressPos;
    bool m_floatingDrag = false;
};

// QTabWidget keeps setTabBar protected; this only installs the bar above.
class DetachTabWidget : public QTabWidget {
    Q_OBJECT
public:
    explicit DetachTabWidget(QWidget* parent = nullptr);
    DetachTabBar* detachTabBar() const { return m_bar; }

private:
    DetachTabBar* m_bar;
};

// The tool window a detached page lives in. Closing it is the way back, so
// the close is only reported; the owner takes the page back and disposes of
// the window. Moves are reported so that dropping the window onto the tab
// bar can put the page back too.
class FloatingPage : public QWidget {
    Q_OBJECT
public:
    FloatingPage(QWidget* page, const QString& title, QWidget* owner);

signals:
    void closeRequested();
    void moved();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
};

}  // namespace qf
