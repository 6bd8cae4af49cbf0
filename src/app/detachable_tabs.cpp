#include "app/detachable_tabs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace qf {

DetachTabBar::DetachTabBar(QWidget* parent) : QTabBar(parent) {
    // Tabs keep their order: callers address pages by index.
    setMovable(false);
}

void DetachTabBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressPos = event->position().toPoint();
        m_pressIndex = tabAt(m_pressPos);
    }
    QTabBar::mousePressEvent(event);
}

void DetachTabBar::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (m_floatingDrag) {
        emit floatingDragMoved(mapToGlobal(pos));
        return;
    }
    const int distance = QApplication::startDragDistance();
    // A small slip along or off the bar is still a click; only a drag that
    // leaves the bar by the drag distance takes the page out.
    const QRect keep = rect().adjusted(-distance, -distance, distance, distance);
    if (m_pressIndex >= 0 && (pos - m_pressPos).manhattanLength() >= distance &&
        !keep.contains(pos)) {
        const int index = m_pressIndex;
        m_pressIndex = -1;
        m_floatingDrag = true;
        emit detachRequested(index, mapToGlobal(pos));
        return;
    }
    QTabBar::mouseMoveEvent(event);
}

void DetachTabBar::mouseReleaseEvent(QMouseEvent* event) {
    m_pressIndex = -1;
    if (m_floatingDrag && event->button() == Qt::LeftButton) {
        m_floatingDrag = false;
        emit floatingDragDropped(mapToGlobal(event->position().toPoint()));
        return;
    }
    QTabBar::mouseReleaseEvent(event);
}

DetachTabWidget::DetachTabWidget(QWidget* parent)
    : QTabWidget(parent), m_bar(new DetachTabBar(this)) {
    setTabBar(m_bar);
}

FloatingPage::FloatingPage(QWidget* page, const QString& title, QWidget* owner)
    : QWidget(owner, Qt::Tool) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);
    page->show();
}

void FloatingPage::closeEvent(QCloseEvent* event) {
    // The page is not to be lost with the window: the owner takes it back.
    event->ignore();
    emit closeRequested();
}

void FloatingPage::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    emit moved();
}

}  // namespace qf
