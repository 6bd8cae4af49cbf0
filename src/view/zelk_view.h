#pragma once
// The image view: shows the working picture at its zoom with the tool
// overlays and the generated graph, and turns Qt's events and the frame's
// commands into operations on the view state.

#include <QAbstractScrollArea>
#include <QFont>
#include <memory>

#include "app/commands.h"
#include "fit/svd.h"
#include "view/camera_controller.h"
#include "ui/dialogs.h"
#include "view/paint/image_display.h"
#include "view/tools/mouse_tools.h"
#include "view/view_state.h"

namespace qf {

class COutputWnd;
class CPropertiesWnd;

class CZelkView : public QAbstractScrollArea, public CommandTarget {
    Q_OBJECT
public:
    explicit CZelkView(Dialogs& dialogs, QWidget* parent = nullptr);
    ~CZelkView() override;

    // The point lists and report pages the view fills; may stay unset.
    void setOutputPane(COutputWnd* pane) { m_pane = pane; }
    // The settings pane whose values an accepted edit (104) copies in.
    void setPropertiesPane(CPropertiesWnd* pane) { m_properties = pane; }

    // Which video file or stream stands in for a camera device.
    void setCameraSources(const CameraSourceMap& map) { m_camera->setSourceMap(map); }

    const QFont& labelFont() const { return m_labelFont; }
    ViewState& state() { return m_state; }
    const ViewState& state() const { return m_state; }

    // Reads a picture and shows it; says "Unable to Open File. " when it cannot.
    bool loadImage(const QString& path);

    void onCommand(int id) override;
    CommandSnapshot snapshot() const override;
    bool handles(int id) const override;

signals:
    void titleChanged(const QString& title);
    void stateChanged();  // the frame refreshes its commands

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    IntSize clientSize() const;
    void apply(const ToolResult& r);
    void applyPaneOps(const PaneOps& ops);
    void refreshSourcePointPane();
    void syncScrollBars();
    void saveDisplayedImage();
    void changed();

    // The fit and the result files (zelk_view_results.cpp).
    void runFitUi();
    void refreshGeneratedGraphPane();
    void saveSourcePoints();
    void saveGeneratedPoints();
    void saveTextFile(const std::string& utf8);
    void saveGeneratedGraphImage();
    void choosePixelGridColour();
    void printView();
    void OnPropertyItemChanged();

    Dialogs& m_dialogs;
    COutputWnd* m_pane = nullptr;
    CPropertiesWnd* m_properties = nullptr;
    ViewState m_state;
    QFont m_labelFont;
    ReducedImageCache m_reducedImage;  // the picture at a negative zoom, between repaints
    std::unique_ptr<SvdFitWork> m_fitWork;
    std::unique_ptr<CameraController> m_camera;  // after m_state: the devices close first
    bool m_syncing = false;
};

}  // namespace qf
