#pragma once
// The image view: shows the working picture at its zoom with the tool
// overlays and the generated graph, and turns Qt's events and its commands
// (display, zoom, tools, mapping, points, cameras) into operations on the
// view state. Fitting, result files and printing are the window's
// controllers' work; they act on the view's state and ask it to show it.

#include <QAbstractScrollArea>
#include <QFont>
#include <QImage>
#include <QWindow>
#include <memory>
#include <optional>
#include <vector>

#include "document/document.h"
#include "ui/command_target.h"
#include "ui/dialogs.h"
#include "ui/output_sink.h"
#include "view/camera_controller.h"
#include "view/paint/image_display.h"
#include "view/tools/mouse_tools.h"
#include "view/view_commands.h"
#include "view/view_state.h"

namespace qf {

class ImageView : public QAbstractScrollArea, public CommandTarget {
    Q_OBJECT
public:
    explicit ImageView(Dialogs& dialogs, QWidget* parent = nullptr);
    ~ImageView() override;

    // The point lists and report pages the view fills; may stay unset.
    void setOutputPane(OutputSink* pane) { m_pane = pane; }
    // The document the view shows and edits. Without one the view keeps its
    // work to itself (as the tests of its rules use it).
    void setDocument(Document* doc);
    Document* document() const { return m_doc; }

    // Which video file or stream stands in for a camera device.
    void setCameraSources(const CameraSourceMap& map) { m_camera->setSourceMap(map); }

    const QFont& labelFont() const { return m_labelFont; }
    QFont* labelFontTarget() { return &m_labelFont; }
    ViewState& state() { return m_state; }
    const ViewState& state() const { return m_state; }

    // Shows a picture just read as a newly opened one, points and settings
    // kept, as one undoable edit named step. A warning (damage the decoder read past)
    // goes to the output pane.
    void showOpenedPicture(cv::Mat picture, const QString& path, const QString& title,
                           const std::string& warning = {},
                           const char* step = QT_TRANSLATE_NOOP("qf::Edits", "画像を開く"));
    // Ends whatever was being shown of an earlier document: the fit's report,
    // its generated graph and lists.
    void clearResults();
    // A reopened project as it was worked on: the working picture with its
    // points when the mapping was run or points were placed, the whole
    // picture in sight.
    void showOpenedWork();
    // A controller ran the fit: the generated points and the residuals are
    // listed again, and the view shows the result.
    void showFitResults();
    // The generated graph as its image file holds it: drawn at 1:1 from the
    // origin, where the view then stays.
    QImage generatedGraphImage();

    // Runs the command's row of the view's table; nothing for an id without one.
    void onCommand(int id);
    CommandSnapshot snapshot() const override;
    std::vector<CommandRow> commandRows() override;

signals:
    void titleChanged(const QString& title);
    void stateChanged();  // the frame refreshes its commands
    // Files dropped on the view: the window decides whether each is a
    // picture or a project.
    void fileDropped(const QString& path);
    // What the status bar says of the pointer: pixel, calibrated X and Y, zoom.
    void pointerStatus(const QString& text);
    // A short note of what to do next, for the status bar.
    void statusMessage(const QString& text);
    // A right click that dragged nothing, or the menu key: the window shows
    // the view's menu at globalPos.
    void contextMenuRequested(QPoint globalPos);
    // The loupe was switched on or off (the window keeps the choice).
    void magnifierSwitched(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    IntSize clientSize() const;
    void apply(const ToolResult& r);
    void applyPaneOps(const PaneOps& ops);
    void refreshSourcePointPane();
    // The residual column: the last fit's residuals while the points and
    // axes are those it was made from, else empty.
    void showResiduals();
    void syncScrollBars();
    void changed();
    void refreshGeneratedGraphPane();
    // The commands' work (image_view_commands.cpp): a state operation shown
    // at once, or also one step of the document named label.
    void runShown(void (*op)(ViewState&));
    void runEdit(void (*op)(ViewState&), const char* label);
    void pickTool(Tool tool);
    void switchMagnifier();
    void chooseCaptureSettings();
    void followListSelection();  // the point selected in the list
    // Removes every point, or the selected one, as one undoable edit.
    void removeAllPoints();
    void deleteSelectedPoint();
    void choosePixelGridColour();
    // Reads the axes from the working picture's frame and tick labels: sets
    // them as one undoable edit, or says which axis could not be read and
    // changes nothing; the labels read stay drawn either way.
    void readAxesFromLabels();
    // Finds the plot's frame on the input picture and puts the mapping's
    // corners on its corners as one undoable edit; says why in the status
    // bar and changes nothing when there is none.
    void placeCornersOnFrame();
    // What each command of the view does (image_view_commands.cpp).
    struct Command {
        int id;
        void (*run)(ImageView&);
    };
    static const std::vector<Command>& commandTable();
    // The document: hand the view's work back as one edit, or take a record
    // the view did not make (undo, redo, an opened project).
    void commitEdit(const char* label);
    void onDocumentChanged(Document::Change why);
    void adoptRecord(const DocumentRecord& r);
    void reportPointer();
    // The extraction tool's click: the preview, or a message why none.
    void extractCurveAt(IntPoint image);
    // The tick tool's click: asks the tick's value; the fourth sets the axes'
    // values as one undoable edit, or says why it cannot and changes nothing.
    void pickTick(IntPoint image);
    void promptNextTick();
    // The preview into the point list as one undoable edit.
    void addExtractedPoints();
    // Repaints where the loupe was and where it is now.
    void updateLoupe();
    // Status-bar notes that follow the state: the extraction's count goes
    // with its preview; slanted corners under the bilinear mapping get a
    // word for the perspective one.
    void updateStatusNotes();
    // Another window took the focus (a dialog): the pointer is no longer
    // over the view.
    void letPointerGo(QWindow* focus);

    Dialogs& m_dialogs;
    OutputSink* m_pane = nullptr;
    Document* m_doc = nullptr;
    bool m_adopting = false;  // a record from the document is being shown
    ViewState m_state;
    QFont m_labelFont;
    ReducedImageCache m_reducedImage;            // the picture at a negative zoom, between repaints
    std::unique_ptr<CameraController> m_camera;  // after m_state: the devices close first
    bool m_syncing = false;
    std::optional<IntPoint> m_pointer;            // over the viewport, in its pixels
    QString m_pointerText;                        // as last reported
    std::optional<IntRect> m_loupeBox;            // where the loupe was last drawn
    bool m_previewNoted = false;                  // the status bar tells of the preview
    std::optional<MappingGeometry> m_slantNoted;  // the mapping last hinted at
    // Where the right button went down alone: released there, it is a click
    // that opens the menu, not a drag of the picture.
    std::optional<QPoint> m_menuPress;
};

}  // namespace qf
