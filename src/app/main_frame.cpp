#include "app/main_frame.h"

#include <QAction>
#include <QCoreApplication>
#include <QDockWidget>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include "app/about_box.h"
#include "app/icons.h"
#include "app/output_pane.h"

namespace qf {

namespace {

QString tr8(const char* text) {
    return QCoreApplication::translate("qf::Commands", text ? text : "");
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainFrame"));
    setWindowTitle(QStringLiteral("Quillfen"));
    setWindowIcon(applicationIcon());
    resize(800, 600);
    // Narrower or lower than this and the toolbars no longer fit.
    setMinimumSize(800, 600);

    buildActions();
    buildMenus();
    buildToolBars();
    buildStatusBar();

    m_output = new COutputWnd(this);
    addDockWidget(Qt::BottomDockWidgetArea, m_output);
    resizeDocks({m_output}, {150}, Qt::Vertical);
    connect(m_output, &COutputWnd::sourcePointSelectionChanged, this,
            [this] { routeCommand(ID_SOURCE_POINT_SELCHANGE); });

    setCommandHandler(ID_APP_EXIT, [this] { close(); });
    setCommandHandler(ID_APP_ABOUT, [this] { showAbout(); });
    setCommandHandler(ID_VIEW_STATUS_BAR,
                      [this] { statusBar()->setVisible(statusBar()->isHidden()); });
    refreshCommands();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::buildActions() {
    for (const CommandInfo& c : commandTable()) {
        auto* a = new QAction(tr8(c.menuText), this);
        a->setObjectName(QStringLiteral("command_%1").arg(c.id));
        a->setData(c.id);
        a->setStatusTip(tr8(c.prompt));
        if (c.toolTip && *c.toolTip) a->setToolTip(tr8(c.toolTip));
        a->setIcon(commandIcon(c.icon));
        a->setCheckable(c.checkable());
        if (c.shortcut) a->setShortcut(QKeySequence(QString::fromLatin1(c.shortcut)));
        const int id = c.id;
        connect(a, &QAction::triggered, this, [this, id] { dispatch(id); });
        m_actions.emplace(id, a);
    }
}

void CMainFrame::fillMenu(QMenu* menu, const std::vector<MenuEntry>& items) {
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::refreshCommands);
    for (const MenuEntry& e : items) {
        switch (e.kind) {
            case MenuEntry::Kind::Command:
                if (QAction* a = action(e.id)) menu->addAction(a);
                break;
            case MenuEntry::Kind::Separator:
                menu->addSeparator();
                break;
            case MenuEntry::Kind::Submenu:
                fillMenu(menu->addMenu(tr8(e.text)), e.items);
                break;
            case MenuEntry::Kind::ToolbarsAndPanes: {
                QMenu* sub = menu->addMenu(tr8(e.text));
                sub->setObjectName(QStringLiteral("ToolbarsAndPanesMenu"));
                // Panes added later (the settings pane) show up as well.
                connect(sub, &QMenu::aboutToShow, this, [this, sub] {
                    fillToolbarsAndPanesMenu(sub);
                    refreshCommands();
                });
                fillToolbarsAndPanesMenu(sub);
                break;
            }
        }
    }
}

void CMainFrame::fillToolbarsAndPanesMenu(QMenu* menu) {
    menu->clear();
    for (QToolBar* t : m_toolBars) menu->addAction(t->toggleViewAction());
    for (QDockWidget* d : findChildren<QDockWidget*>(QString(), Qt::FindDirectChildrenOnly))
        menu->addAction(d->toggleViewAction());
    menu->addSeparator();
    menu->addAction(action(ID_VIEW_CUSTOMIZE));
}

void CMainFrame::buildMenus() {
    for (const MenuLayout& m : menuBarLayout()) fillMenu(menuBar()->addMenu(tr8(m.title)), m.items);
}

void CMainFrame::buildToolBars() {
    const auto& layout = toolBarLayout();
    for (size_t i = 0; i < layout.size(); ++i) {
        const ToolBarLayout& l = layout[i];
        auto* bar = new QToolBar(tr8(l.caption), this);
        bar->setObjectName(QString::fromLatin1(l.objectName));
        bar->setIconSize(QSize(16, 16));
        for (int id : l.ids) {
            if (id == 0)
                bar->addSeparator();
            else if (QAction* a = action(id))
                bar->addAction(a);
        }
        // The image toolbar is long: it gets a row of its own under the other two.
        if (i == 2) addToolBarBreak(Qt::TopToolBarArea);
        addToolBar(Qt::TopToolBarArea, bar);
        m_toolBars.push_back(bar);
    }
}

void CMainFrame::buildStatusBar() {
    m_idle = new QLabel(tr8("レディ"), this);
    m_idle->setObjectName(QStringLiteral("IdleText"));
    // A normal widget is hidden while a prompt shows and comes back after.
    statusBar()->addWidget(m_idle, 1);
}

void CMainFrame::setView(QWidget* view, CommandTarget* target) {
    if (view) setCentralWidget(view);
    m_target = target;
    refreshCommands();
}

void CMainFrame::setPropertiesPane(QDockWidget* pane) {
    if (!pane) return;
    addDockWidget(Qt::RightDockWidgetArea, pane);
    resizeDocks({pane}, {240}, Qt::Horizontal);
}

void CMainFrame::setCommandHandler(int id, std::function<void()> handler) {
    if (handler)
        m_handlers[id] = std::move(handler);
    else
        m_handlers.erase(id);
    refreshCommands();
}

QAction* CMainFrame::action(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

CommandSnapshot CMainFrame::currentSnapshot() const {
    CommandSnapshot s = m_target ? m_target->snapshot() : CommandSnapshot{};
    s.statusBarVisible = !statusBar()->isHidden();
    s.visualStyle = m_visualStyle;
    return s;
}

bool CMainFrame::hasHandler(int id) const {
    return m_handlers.count(id) != 0 || (m_target && m_target->handles(id));
}

bool CMainFrame::isCommandEnabled(int id) const {
    const CommandInfo* c = findCommand(id);
    return c && hasHandler(id) && c->enabled(currentSnapshot());
}

void CMainFrame::refreshCommands() {
    const CommandSnapshot s = currentSnapshot();
    for (const CommandInfo& c : commandTable()) {
        QAction* a = action(c.id);
        a->setEnabled(hasHandler(c.id) && c.enabled(s));
        if (c.checkable()) a->setChecked(c.checked(s));
    }
}

void CMainFrame::triggerCommand(int id) {
    dispatch(id);
}

void CMainFrame::dispatch(int id) {
    // The state may have changed since the last refresh: a stale enabled
    // button must not run a command that needs, say, an image.
    if (isCommandEnabled(id)) {
        if (auto it = m_handlers.find(id); it != m_handlers.end())
            it->second();
        else
            m_target->onCommand(id);
    }
    refreshCommands();
}

void CMainFrame::routeCommand(int id) {
    if (m_target && m_target->handles(id)) m_target->onCommand(id);
    refreshCommands();
}

void CMainFrame::saveLayout(QSettings& settings) const {
    settings.beginGroup(QStringLiteral("Workspace"));
    settings.setValue(QStringLiteral("Geometry"), saveGeometry());
    settings.setValue(QStringLiteral("State"), saveState());
    settings.endGroup();
}

bool CMainFrame::restoreLayout(QSettings& settings) {
    settings.beginGroup(QStringLiteral("Workspace"));
    const QByteArray geometry = settings.value(QStringLiteral("Geometry")).toByteArray();
    const QByteArray state = settings.value(QStringLiteral("State")).toByteArray();
    settings.endGroup();
    bool restored = false;
    if (!geometry.isEmpty()) restored = restoreGeometry(geometry);
    if (!state.isEmpty()) restored = restoreState(state) && restored;
    return restored;
}

void CMainFrame::showAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
}

}  // namespace qf
