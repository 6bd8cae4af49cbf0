#pragma once
// Counts the paint events a widget receives, installed as its event filter.

#include <QEvent>
#include <QObject>

namespace qf::test {

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace qf::test
