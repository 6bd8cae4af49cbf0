#include "settings/settings_pane.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QToolBar>
#include <QVBoxLayout>

#include "document/document.h"
#include "ui/command_target.h"
#include "settings/pane_icons.h"
#include "settings/settings_grid.h"

namespace qf {

SettingsPane::SettingsPane(Dialogs& dialogs, QWidget* parent)
    : QDockWidget(tr("フィッティング 設定"), parent),
      m_grid(new SettingsGrid(dialogs)),
      m_toolBar(new QToolBar) {
    setObjectName(QStringLiteral("PropertiesPane"));

    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_expandAll = m_toolBar->addAction(expandAllIcon(), tr("すべて展開"));
    m_expandAll->setToolTip(tr("すべて展開"));
    m_fit = m_toolBar->addAction(runFitIcon(), tr("フィッティング 実行"));
    m_fit->setToolTip(tr("フィッティング 実行"));
    m_fit->setEnabled(false);
    connect(m_expandAll, &QAction::triggered, m_grid, &SettingsGrid::expandAllGroups);
    connect(m_fit, &QAction::triggered, this, &SettingsPane::runFit);

    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_grid, 1);
    body->setFocusProxy(m_grid);
    setWidget(body);
    setFocusProxy(m_grid);
    QCoreApplication::instance()->installEventFilter(this);
}

void SettingsPane::setCommandSink(std::function<void(int)> sink) {
    m_sink = std::move(sink);
    // An accepted edit is a step of the document before anyone hears of it.
    m_grid->setCommandSink([this](int id) {
        if (id == ID_PROPERTY_ITEM_CHANGED && m_doc) {
            const PanelSettings s = m_grid->settings();
            m_doc->edit(QT_TRANSLATE_NOOP("qf::Edits", "設定の変更"),
                        [&s](DocumentRecord& r) { (void)applyPanelSettings(s, r); });
        }
        if (m_sink) m_sink(id);
    });
}

void SettingsPane::setDocument(Document* doc) {
    if (m_doc) disconnect(m_doc, nullptr, this, nullptr);
    m_doc = doc;
    if (!m_doc) return;
    connect(m_doc, &Document::changed, this, &SettingsPane::showDocument);
    showDocument();
}

void SettingsPane::showDocument() {
    const PanelSettings s = panelSettingsOf(m_doc->record());
    if (!(s == m_grid->settings())) m_grid->showSettings(s);
}

void SettingsPane::setFitEnabledProbe(std::function<bool()> probe) {
    m_fitProbe = std::move(probe);
    refreshToolbar();
}

void SettingsPane::refreshToolbar() {
    m_fit->setEnabled(m_fitProbe && m_fitProbe());
}

const PanelSettings& SettingsPane::settings() const {
    return m_grid->settings();
}

void SettingsPane::setLabelFont(QFont* font) {
    m_grid->setLabelFont(font);
}

void SettingsPane::runFit() {
    // The button may be stale; the fit runs only when it can.
    refreshToolbar();
    if (m_fit->isEnabled() && m_sink) m_sink(ID_FIT_RUN);
}

bool SettingsPane::eventFilter(QObject* watched, QEvent* event) {
    // The desktop's fonts changed: the grid follows the menu font.
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationFontChange)
        m_grid->makeGridFont();
    return QDockWidget::eventFilter(watched, event);
}

void SettingsPane::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    refreshToolbar();
}

}  // namespace qf
