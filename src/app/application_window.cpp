#include "app/application_window.h"

#include "app/output_pane.h"
#include "app/project_controller.h"
#include "settings/properties_wnd.h"
#include "view/zelk_view.h"

namespace qf {

ApplicationWindow::ApplicationWindow(Dialogs& dialogs, const CameraSourceMap& cameras)
    : m_view(new CZelkView(dialogs)), m_properties(new CPropertiesWnd(dialogs)) {
    m_view->setCameraSources(cameras);
    m_frame.setView(m_view, m_view);
    m_view->setOutputPane(m_frame.outputPane());
    m_frame.setPropertiesPane(m_properties);
    // The pane's fit button runs the fit as the menu does. Its edits change
    // the document, which the view follows; from the first accepted edit on,
    // a font chosen in the pane is the view's label font at once.
    CMainFrame* frame = &m_frame;
    CZelkView* view = m_view;
    CPropertiesWnd* pane = m_properties;
    m_properties->setCommandSink([frame, view, pane](int id) {
        if (id == ID_FIT_RUN)
            frame->triggerCommand(id);
        else if (id == ID_PROPERTY_ITEM_CHANGED)
            pane->setLabelFont(view->labelFontTarget());
        else
            frame->routeCommand(id);
    });
    m_projects = new ProjectController(m_frame, *m_view, *m_properties, dialogs);
    m_properties->setFitEnabledProbe([frame] { return frame->isCommandEnabled(ID_FIT_RUN); });
    QObject::connect(m_view, &CZelkView::stateChanged, m_properties,
                     &CPropertiesWnd::refreshToolbar);
    QObject::connect(m_view, &CZelkView::stateChanged, &m_frame, &CMainFrame::refreshCommands);
    m_frame.refreshCommands();
}

ApplicationWindow::~ApplicationWindow() {
    // The frame is torn down next; an edit still open in the pane ends on the
    // way and must not reach the half-destroyed frame.
    m_properties->setCommandSink({});
}

}  // namespace qf
