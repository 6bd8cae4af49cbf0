#include "app/application_window.h"

#include "settings/properties_wnd.h"
#include "view/zelk_view.h"

namespace qf {

ApplicationWindow::ApplicationWindow(Dialogs& dialogs, const CameraSourceMap& cameras)
    : m_view(new CZelkView(dialogs)), m_properties(new CPropertiesWnd(dialogs)) {
    m_view->setCameraSources(cameras);
    m_frame.setView(m_view, m_view);
    m_view->setOutputPane(m_frame.outputPane());
    m_frame.setPropertiesPane(m_properties);
    m_view->setPropertiesPane(m_properties);
    // The pane's fit button runs the fit as the menu does; its edits reach
    // the view through the frame.
    CMainFrame* frame = &m_frame;
    m_properties->setCommandSink([frame](int id) {
        if (id == ID_FIT_RUN)
            frame->triggerCommand(id);
        else
            frame->routeCommand(id);
    });
    m_properties->setFitEnabledProbe([frame] { return frame->isCommandEnabled(ID_FIT_RUN); });
    QObject::connect(m_view, &CZelkView::stateChanged, m_properties,
                     &CPropertiesWnd::refreshToolbar);
    QObject::connect(m_view, &CZelkView::stateChanged, &m_frame, &CMainFrame::refreshCommands);
    QObject::connect(m_view, &CZelkView::titleChanged, &m_frame,
                     [frame](const QString& title) { frame->setWindowTitle(title + " - Quillfen"); });
    m_frame.setWindowTitle("Quillfen");
    m_frame.refreshCommands();
}

ApplicationWindow::~ApplicationWindow() {
    // The frame is torn down next; an edit still open in the pane ends on the
    // way and must not reach the half-destroyed frame.
    m_properties->setCommandSink({});
}

}  // namespace qf
