#pragma once
// The program's window as the user gets it: the main frame with the image
// view in the middle, the output pane below and the settings pane at the
// right, wired so that commands, list selections and settings edits reach
// the view. main() and the tests build it the same way.

#include <QString>

#include "app/main_window.h"
#include "imaging/camera_source.h"

namespace qf {

class SettingsPane;
class ProjectController;
class ResultsController;
class SeriesController;
class ImageView;
class Dialogs;

class ApplicationWindow {
public:
    ApplicationWindow(Dialogs& dialogs, const CameraSourceMap& cameras);
    ~ApplicationWindow();
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    MainWindow& frame() { return m_frame; }
    ImageView& view() { return *m_view; }
    SettingsPane& properties() { return *m_properties; }
    ProjectController& projects() { return *m_projects; }
    SeriesController& series() { return *m_series; }

private:
    MainWindow m_frame;
    ImageView* m_view;              // owned by the frame
    SettingsPane* m_properties;     // owned by the frame
    ProjectController* m_projects;  // owned by the frame
    ResultsController* m_results;   // owned by the frame
    SeriesController* m_series;     // owned by the frame
};

}  // namespace qf
