#pragma once
// What the window makes of the work: the fit, the files of its results (the
// displayed picture, the source and generated points, the generated-graph
// image) and the printout of the view. It acts on the view's state and
// asks the view to show the outcome.

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "fit/svd.h"
#include "ui/dialogs.h"
#include "view/save_path.h"

namespace qf {

class ImageView;
class MainWindow;
class OutputPane;

class ResultsController : public QObject {
    Q_OBJECT
public:
    // Registers its commands with the frame.
    ResultsController(MainWindow& frame, ImageView& view, Dialogs& dialogs);
    ~ResultsController() override;

    // The fit of a reopened project, made again (it is deterministic) so that
    // its page and curve show as they did when it was saved. Says nothing
    // when the points or settings do not fit: the user has not asked yet.
    void fitOnOpen();

    // Whether the picture at a path was pasted: its file is the store's, and
    // no saved file is named after it.
    void setPastedTest(std::function<bool(const QString&)> test) { m_isPasted = std::move(test); }

private:
    void runFit();
    // Each series with points, with its own settings; the active one's
    // results are the ones shown.
    void runFitAll();
    // Every series' points in one file, in long form (series, x, y).
    void saveAllSeriesCsv();
    void saveDisplayedImage();
    void saveSourcePoints();
    // A point file (either form it is saved in) replaces the point list.
    void loadSourcePoints();
    void saveGeneratedPoints();
    void saveGeneratedGraphImage();
    void printView();
    void saveFitJson();
    void saveTextFile(const std::string& utf8, SavedFile what);
    // Asks where with request and writes the bytes there.
    void saveBytes(const std::string& bytes, const FileDialogRequest& request);
    // Writes the bytes at the path a dialog returned (nothing when empty).
    void writeChosen(const std::string& bytes, const QString& path);
    // The dialog's request with the name proposed for what it saves.
    FileDialogRequest proposing(const FileDialogRequest& dialog, SavedFile what) const;
    // A result set a killed batch run left beside path is completed first,
    // so that completing it later cannot replace the file saved there.
    // False, said to the user, when it cannot be.
    bool completeResultSetBeside(const QString& path);

    ImageView& m_view;
    OutputPane& m_pane;
    Dialogs& m_dialogs;
    std::unique_ptr<SvdFitWork> m_fitWork;  // made for the first fit
    std::function<bool(const QString&)> m_isPasted;
};

}  // namespace qf
