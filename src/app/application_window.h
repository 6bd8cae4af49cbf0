#pragma once
// The program's window as the user gets it: the main frame with the image
// view in the middle, the output pane below and the settings pane at the
// right, wired so that commands, list selections and settings edits reach
// the view. main() and the tests build it the same way.

#include <QString>

#include "app/main_frame.h"
#include "imaging/camera_source.h"

namespace qf {

class CPropertiesWnd;
class ProjectController;
class CZelkView;
class Dialogs;

// The largest picture the window opens, from the settings store's
// "MaxPictureMegapixels" (group "Workspace"); the built-in limit without one.
void applyPictureLimit(QSettings& store);

class ApplicationWindow {
public:
    ApplicationWindow(Dialogs& dialogs, const CameraSourceMap& cameras);
    ~ApplicationWindow();
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    CMainFrame& frame() { return m_frame; }
    CZelkView& view() { return *m_view; }
    CPropertiesWnd& properties() { return *m_properties; }
    ProjectController& projects() { return *m_projects; }

private:
    CMainFrame m_frame;
    CZelkView* m_view;              // owned by the frame
    CPropertiesWnd* m_properties;  // owned by the frame
    ProjectController* m_projects;  // owned by the frame
};

}  // namespace qf
