#include "app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "app/about_dialog.h"
#include "app/customize_dialog.h"
#include "app/help_window.h"
#include "app/icons.h"
#include "app/key_locks.h"
#include "app/language.h"
#include "app/output_pane.h"
#include "app/visual_style.h"

namespace qf {

namespace {

QString tr8(const char* text) {
    return QCoreApplication::translate("qf::Commands", text ? text : "");
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
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

    m_output = new OutputPane(this);
    addDockWidget(Qt::BottomDockWidgetArea, m_output);
    // Tall enough to read a short report without dragging the pane open.
    resizeDocks({m_output}, {m_output->heightForLines(10)}, Qt::Vertical);
    connect(m_output, &OutputPane::sourcePointSelectionChanged, this,
            [this] { routeCommand(ID_SOURCE_POINT_SELCHANGE); });

    setCommandHandler(ID_APP_EXIT, [this] { close(); });
    setCommandHandler(ID_APP_ABOUT, [this] { showAbout(); });
    setCommandHandler(ID_HELP_FINDER, [this] { showHelp(); });
    m_language = static_cast<int>(storedLanguageChoice(*openWorkspaceStore()));
    for (auto [id, choice] : {std::pair{ID_LANGUAGE_AUTO, 0}, std::pair{ID_LANGUAGE_JAPANESE, 1},
                              std::pair{ID_LANGUAGE_ENGLISH, 2}})
        setCommandHandler(id, [this, to = choice] {
            setLanguageChoice(to);
            emit languageChosen(to);
        });
    setCommandHandler(ID_VIEW_STATUS_BAR,
                      [this] { statusBar()->setVisible(statusBar()->isHidden()); });
    setCommandHandler(ID_VIEW_CUSTOMIZE, [this] { showCustomize(); });
    // F6 and Shift+F6 move the keyboard between the view and the panes.
    const std::pair<QKeySequence, int> paneKeys[] = {{QKeySequence(Qt::Key_F6), 1},
                                                     {QKeySequence(Qt::SHIFT | Qt::Key_F6), -1}};
    for (const auto& [keys, step] : paneKeys) {
        auto* next = new QAction(this);
        next->setShortcut(keys);
        next->setShortcutContext(Qt::WindowShortcut);
        connect(next, &QAction::triggered, this, [this, to = step] { focusNextPane(to); });
        addAction(next);
    }
    for (const VisualStyle& look : visualStyles())
        if (action(look.id))
            setCommandHandler(look.id, [this, id = look.id] { setVisualStyle(id); });

    // A value that is not a number is no choice at all: the default look.
    bool ok = false;
    const int stored =
        openWorkspaceStore()->value(kApplicationLookKey, ID_STYLE_VS_2008).toInt(&ok);
    applyVisualStyle(ok ? stored : ID_STYLE_VS_2008);

    m_keyPoll = new QTimer(this);
    m_keyPoll->setInterval(250);
    connect(m_keyPoll, &QTimer::timeout, this, &MainWindow::updateKeyIndicators);
    setKeyLockSource(x11KeyLocks);
    refreshCommands();
}

MainWindow::~MainWindow() = default;

void MainWindow::focusNextPane(int step) {
    // The view, then the visible panes in the order they were docked.
    std::vector<QWidget*> panes;
    if (centralWidget()) panes.push_back(centralWidget());
    for (QDockWidget* dock : findChildren<QDockWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (dock->isVisible() && dock->widget()) panes.push_back(dock->widget());
    if (panes.empty()) return;
    const int n = static_cast<int>(panes.size());
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (panes[size_t(i)]->isAncestorOf(focusWidget()) || panes[size_t(i)] == focusWidget())
            at = i;
    const int to = at < 0 ? 0 : ((at + step) % n + n) % n;
    // A pane is a container: the keyboard goes to the first control in it
    // that takes the focus from the keyboard.
    QWidget* target = panes[size_t(to)];
    if (!target->focusProxy() && !(target->focusPolicy() & Qt::TabFocus)) {
        for (QWidget* w : target->findChildren<QWidget*>()) {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
                target = w;
                break;
            }
        }
    }
    target->setFocus(Qt::OtherFocusReason);
}

void MainWindow::buildActions() {
    for (const CommandInfo& c : commandTable()) {
        auto* a = new QAction(tr8(c.menuText), this);
        a->setObjectName(QStringLiteral("command_%1").arg(c.id));
        a->setData(c.id);
        a->setStatusTip(tr8(c.prompt));
        if (c.toolTip && *c.toolTip) a->setToolTip(tr8(c.toolTip));
        a->setIcon(commandIcon(c.icon));
        a->setCheckable(c.checkable());
        if (c.shortcut) {
            QList<QKeySequence> keys;
            for (const QString& k : QString::fromLatin1(c.shortcut).split(u';'))
                keys.append(QKeySequence(k));
            a->setShortcuts(keys);
            addAction(a);  // the keys work even for a command on no menu
        }
        const int id = c.id;
        connect(a, &QAction::triggered, this, [this, id] { dispatch(id); });
        m_actions.emplace(id, a);
    }
    // The looks are one choice: the menu shows them as radio items.
    m_styleGroup = new QActionGroup(this);
    for (const VisualStyle& look : visualStyles())
        if (QAction* a = action(look.id)) m_styleGroup->addAction(a);
    // So are the languages.
    auto* languages = new QActionGroup(this);
    for (int id : {ID_LANGUAGE_AUTO, ID_LANGUAGE_JAPANESE, ID_LANGUAGE_ENGLISH})
        languages->addAction(action(id));
}

void MainWindow::fillMenu(QMenu* menu, const std::vector<MenuEntry>& items) {
    connect(menu, &QMenu::aboutToShow, this, &MainWindow::refreshCommands);
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

void MainWindow::fillToolbarsAndPanesMenu(QMenu* menu) {
    menu->clear();
    for (QToolBar* t : m_toolBars) menu->addAction(t->toggleViewAction());
    for (QDockWidget* d : findChildren<QDockWidget*>(QString(), Qt::FindDirectChildrenOnly))
        menu->addAction(d->toggleViewAction());
    menu->addSeparator();
    menu->addAction(action(ID_VIEW_CUSTOMIZE));
}

void MainWindow::buildMenus() {
    for (const MenuLayout& m : menuBarLayout()) fillMenu(menuBar()->addMenu(tr8(m.title)), m.items);
}

void MainWindow::buildToolBars() {
    const auto& layout = toolBarLayout();
    for (size_t i = 0; i < layout.size(); ++i) {
        const ToolBarLayout& l = layout[i];
        auto* bar = new QToolBar(tr8(l.caption), this);
        bar->setObjectName(QString::fromLatin1(l.objectName));
        bar->setIconSize(QSize(16, 16));
        std::vector<ToolBarEntry> entries;
        for (int id : l.ids) {
            if (id == 0) {
                entries.push_back({0, bar->addSeparator()});
            } else if (QAction* a = action(id)) {
                bar->addAction(a);
                entries.push_back({id, a});
            }
        }
        m_barEntries.push_back(std::move(entries));
        addCustomizeButton(bar);
        // The image toolbar is long: it gets a row of its own under the other two.
        if (i == 2) addToolBarBreak(Qt::TopToolBarArea);
        addToolBar(Qt::TopToolBarArea, bar);
        m_toolBars.push_back(bar);
    }
}

void MainWindow::addCustomizeButton(QToolBar* bar) {
    // The button has only an arrow; this is its label.
    action(ID_VIEW_CUSTOMIZE)
        ->setToolTip(tr8(QT_TRANSLATE_NOOP("qf::Commands", "カスタマイズ...")));
    auto* button = new QToolButton(bar);
    button->setObjectName(QStringLiteral("CustomizeButton"));
    button->setDefaultAction(action(ID_VIEW_CUSTOMIZE));
    button->setArrowType(Qt::DownArrow);
    button->setAutoRaise(true);
    QAction* holder = bar->addWidget(button);
    holder->setObjectName(QStringLiteral("CustomizeButton"));
    m_customizeButtons.push_back(holder);
}

void MainWindow::setPointerStatus(const QString& text) {
    m_pointer->setText(text);
}

void MainWindow::buildStatusBar() {
    m_idle = new QLabel(tr8(QT_TRANSLATE_NOOP("qf::Commands", "レディ")), this);
    m_idle->setObjectName(QStringLiteral("IdleText"));
    // A normal widget is hidden while a prompt shows and comes back after.
    statusBar()->addWidget(m_idle, 1);
    // Where the pointer is on the picture, in pixels and in the axes' values.
    m_pointer = new QLabel(this);
    m_pointer->setObjectName(QStringLiteral("PointerStatus"));
    statusBar()->addWidget(m_pointer);

    auto indicator = [this](const char* name, const char* text) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignCenter);
        // Sized for its text when it is blank, so the bar does not jump.
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString::fromLatin1(text)) +
                               8);
        label->setProperty("indicatorText", QString::fromLatin1(text));
        statusBar()->addPermanentWidget(label);
        return label;
    };
    m_caps = indicator("IndicatorCaps", "CAP");
    m_num = indicator("IndicatorNum", "NUM");
    m_scroll = indicator("IndicatorScroll", "SCRL");
}

void MainWindow::setKeyLockSource(KeyLockSource source) {
    m_keyLocks = std::move(source);
    m_keyLocksKnown = m_keyLocks && m_keyLocks();
    followKeyLights();
    updateKeyIndicators();
}

void MainWindow::followKeyLights() {
    // Each ask is a round trip to the X server: only while the user works here.
    if (m_keyLocksKnown && isActiveWindow())
        m_keyPoll->start();
    else
        m_keyPoll->stop();
}

bool MainWindow::keyLightsPolled() const {
    return m_keyPoll->isActive();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange) return;
    followKeyLights();
    // Lock keys pressed in another window show as soon as the user is back.
    if (isActiveWindow()) updateKeyIndicators();
}

void MainWindow::updateKeyIndicators() {
    const KeyLocks locks = (m_keyLocks ? m_keyLocks() : std::nullopt).value_or(KeyLocks{});
    for (auto [label, on] : {std::pair{m_caps, locks.caps}, std::pair{m_num, locks.num},
                             std::pair{m_scroll, locks.scroll}})
        label->setText(on ? label->property("indicatorText").toString() : QString());
}

void MainWindow::setView(QWidget* view, CommandTarget* target) {
    if (view) setCentralWidget(view);
    m_target = target;
    if (target)
        for (CommandRow& row : target->commandRows()) m_handlers[row.id] = std::move(row.run);
    refreshCommands();
}

void MainWindow::setPropertiesPane(QDockWidget* pane) {
    if (!pane) return;
    if (restoreDockWidget(pane)) return;  // a restored layout already placed it
    addDockWidget(Qt::RightDockWidgetArea, pane);
    resizeDocks({pane}, {240}, Qt::Horizontal);
}

void MainWindow::setCommandHandler(int id, std::function<void()> handler) {
    if (handler)
        m_handlers[id] = std::move(handler);
    else
        m_handlers.erase(id);
    refreshCommands();
}

QAction* MainWindow::action(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

CommandSnapshot MainWindow::currentSnapshot() const {
    CommandSnapshot s = m_target ? m_target->snapshot() : CommandSnapshot{};
    if (m_snapshotFiller) m_snapshotFiller(s);
    s.statusBarVisible = !statusBar()->isHidden();
    s.visualStyle = m_visualStyle;
    s.language = m_language;
    return s;
}

bool MainWindow::hasHandler(int id) const {
    return m_handlers.count(id) != 0;
}

bool MainWindow::isCommandEnabled(int id) const {
    const CommandInfo* c = findCommand(id);
    return c && hasHandler(id) && c->enabled(currentSnapshot());
}

void MainWindow::refreshCommands() {
    const CommandSnapshot s = currentSnapshot();
    for (const CommandInfo& c : commandTable()) {
        QAction* a = action(c.id);
        a->setEnabled(hasHandler(c.id) && c.enabled(s));
        if (c.checkable()) a->setChecked(c.checked(s));
    }
}

void MainWindow::triggerCommand(int id) {
    dispatch(id);
}

void MainWindow::dispatch(int id) {
    // The state may have changed since the last refresh: a stale enabled
    // button must not run a command that needs, say, an image.
    if (isCommandEnabled(id)) run(id);
    refreshCommands();
}

void MainWindow::routeCommand(int id) {
    run(id);
    refreshCommands();
}

void MainWindow::run(int id) {
    if (auto it = m_handlers.find(id); it != m_handlers.end()) it->second();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_closeGuard && !m_closeGuard()) {
        event->ignore();
        return;
    }
    saveLayout(*openWorkspaceStore());
    if (m_customize) m_customize->close();
    QMainWindow::closeEvent(event);
}

std::vector<int> MainWindow::toolBarButtonIds(int bar) const {
    std::vector<int> ids;
    if (bar < 0 || bar >= static_cast<int>(m_barEntries.size())) return ids;
    for (const ToolBarEntry& e : m_barEntries[bar])
        if (e.id != 0) ids.push_back(e.id);
    return ids;
}

bool MainWindow::isToolBarButtonShown(int bar, int id) const {
    if (bar < 0 || bar >= static_cast<int>(m_barEntries.size()) || id == 0) return false;
    const auto& entries = m_barEntries[bar];
    auto it = std::find_if(entries.begin(), entries.end(),
                           [id](const ToolBarEntry& e) { return e.id == id; });
    return it != entries.end() && m_toolBars[bar]->actions().contains(it->action);
}

void MainWindow::showToolBarButton(int bar, int id, bool show) {
    if (bar < 0 || bar >= static_cast<int>(m_barEntries.size()) || id == 0) return;
    const auto& entries = m_barEntries[bar];
    auto it = std::find_if(entries.begin(), entries.end(),
                           [id](const ToolBarEntry& e) { return e.id == id; });
    if (it == entries.end() || show == isToolBarButtonShown(bar, id)) return;
    QToolBar* toolBar = m_toolBars[bar];
    // The action is shared with the menus: take it off this bar only, and put
    // it back in its built-in place.
    if (!show) {
        toolBar->removeAction(it->action);
    } else {
        QAction* before = m_customizeButtons[bar];
        for (auto next = it + 1; next != entries.end(); ++next)
            if (toolBar->actions().contains(next->action)) {
                before = next->action;
                break;
            }
        toolBar->insertAction(before, it->action);
    }
    updateSeparators(bar);
}

void MainWindow::updateSeparators(int bar) {
    // A separator shows only between two groups that both still have a button.
    const auto& entries = m_barEntries[bar];
    bool buttonBefore = false;
    for (size_t k = 0; k < entries.size(); ++k) {
        if (entries[k].id != 0) {
            buttonBefore = buttonBefore || isToolBarButtonShown(bar, entries[k].id);
            continue;
        }
        const bool buttonAfter = std::any_of(
            entries.begin() + k + 1, entries.end(),
            [&](const ToolBarEntry& e) { return e.id != 0 && isToolBarButtonShown(bar, e.id); });
        entries[k].action->setVisible(buttonBefore && buttonAfter);
        if (buttonBefore && buttonAfter) buttonBefore = false;
    }
}

void MainWindow::showCustomize() {
    if (!m_customize) m_customize = new CustomizeDialog(*this, this);
    m_customize->show();
    m_customize->raise();
    m_customize->activateWindow();
}

void MainWindow::setLanguageChoice(int choice) {
    if (choice < 0 || choice > 2) return;
    m_language = choice;
    storeLanguageChoice(*openWorkspaceStore(), static_cast<LanguageChoice>(choice));
    refreshCommands();
}

void MainWindow::showHelp() {
    if (!m_help) m_help = new HelpWindow(this);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::showAbout() {
    AboutDialog dlg(this);
    dlg.exec();
}

}  // namespace qf
