#pragma once
// The document's series in the window: a selector on a toolbar and a pane
// listing each series with its colour and point count, the commands that
// add, rename, recolour and delete a series and move a point between
// series (each one undoable step), and the extraction of every series at
// once.

#include <QObject>
#include <QString>
#include <functional>

class QComboBox;
class QDockWidget;
class QListWidget;
class QToolBar;

namespace qf {

class Dialogs;
class Document;
class ImageView;
class MainWindow;
struct DocumentRecord;

class SeriesController : public QObject {
    Q_OBJECT
public:
    // Registers its commands with the frame and docks its pane under the
    // pane `beside` (at the right when null).
    SeriesController(MainWindow& frame, ImageView& view, Document& doc, Dialogs& dialogs,
                     QDockWidget* beside);

    QComboBox* selector() const { return m_combo; }
    QListWidget* list() const { return m_list; }
    QDockWidget* pane() const { return m_pane; }
    QToolBar* toolBar() const { return m_toolBar; }

    // The selector and the list as the document stands.
    void refresh();

    // Makes series `index` the active one (one step).
    void choose(int index);

private:
    void addSeries();
    void renameActive();
    void recolourActive();
    void deleteActive();
    void moveSelectedPoint();
    void extractEverySeries();
    // The step's label, run through the document.
    bool edit(const char* label, const std::function<void(DocumentRecord&)>& change);

    MainWindow& m_frame;
    ImageView& m_view;
    Document& m_doc;
    Dialogs& m_dialogs;
    QToolBar* m_toolBar;
    QComboBox* m_combo;
    QDockWidget* m_pane;
    QListWidget* m_list;
    bool m_filling = false;  // the widgets are being filled, not chosen in
};

}  // namespace qf
