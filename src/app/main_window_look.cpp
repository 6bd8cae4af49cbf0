// The frame's look and its memory: the visual styles, and the window's
// placement and bars kept in the settings store between runs.

#include <QApplication>
#include <QDockWidget>
#include <QPalette>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>
#include <QToolBar>

#include "app/main_window.h"
#include "app/visual_style.h"

namespace qf {
namespace {

const QString kWorkspace = QStringLiteral("Workspace");
// Bumped when the bars or panes change so much that an old layout no longer fits.
constexpr int kLayoutVersion = 1;

QColor colour(Rgb rgb) {
    return QColor::fromRgb(0xFF000000u | rgb);
}

QPalette paletteOf(const StyleColours& c) {
    // Bevels (light, mid, dark, shadow) derive from the button colour.
    QPalette p(colour(c.button), colour(c.window));
    p.setColor(QPalette::WindowText, colour(c.windowText));
    p.setColor(QPalette::Base, colour(c.base));
    p.setColor(QPalette::AlternateBase, colour(c.alternateBase));
    p.setColor(QPalette::Text, colour(c.text));
    p.setColor(QPalette::ButtonText, colour(c.buttonText));
    p.setColor(QPalette::Highlight, colour(c.highlight));
    p.setColor(QPalette::HighlightedText, colour(c.highlightedText));
    p.setColor(QPalette::ToolTipBase, colour(c.toolTipBase));
    p.setColor(QPalette::ToolTipText, colour(c.toolTipText));
    p.setColor(QPalette::PlaceholderText, colour(c.disabledText));
    p.setColor(QPalette::Link, colour(c.link));
    p.setColor(QPalette::LinkVisited, colour(c.link));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, colour(c.disabledText));
    return p;
}

}  // namespace

const QString kApplicationLookKey = QStringLiteral("Workspace/ApplicationLook");

std::unique_ptr<QSettings> openWorkspaceStore() {
    return std::make_unique<QSettings>(QStringLiteral("Obrin-Quillfen-Vantor"),
                                       QStringLiteral("Quillfen"));
}

void MainWindow::saveLayout(QSettings& settings) const {
    settings.beginGroup(kWorkspace);
    settings.setValue(QStringLiteral("Geometry"), saveGeometry());
    settings.setValue(QStringLiteral("State"), saveState(kLayoutVersion));
    settings.remove(QStringLiteral("HiddenButtons"));
    settings.beginGroup(QStringLiteral("HiddenButtons"));
    for (size_t bar = 0; bar < m_toolBars.size(); ++bar) {
        QStringList hidden;
        for (int id : toolBarButtonIds(static_cast<int>(bar)))
            if (!isToolBarButtonShown(static_cast<int>(bar), id)) hidden << QString::number(id);
        if (!hidden.isEmpty())
            settings.setValue(m_toolBars[bar]->objectName(), hidden.join(QLatin1Char(',')));
    }
    settings.endGroup();
    settings.endGroup();
}

bool MainWindow::restoreLayout(QSettings& settings) {
    settings.beginGroup(kWorkspace);
    const QByteArray geometry = settings.value(QStringLiteral("Geometry")).toByteArray();
    const QByteArray state = settings.value(QStringLiteral("State")).toByteArray();
    std::vector<QStringList> hidden;
    settings.beginGroup(QStringLiteral("HiddenButtons"));
    for (QToolBar* bar : m_toolBars)
        hidden.push_back(settings.value(bar->objectName()).toString().split(QLatin1Char(',')));
    settings.endGroup();
    settings.endGroup();

    // Qt checks a whole state before it applies any of it, so damaged data
    // leaves the built-in layout as it was.
    bool restored = false;
    if (!geometry.isEmpty()) restored = restoreGeometry(geometry);
    if (!state.isEmpty()) restored = restoreState(state, kLayoutVersion) && restored;
    for (size_t bar = 0; bar < m_toolBars.size(); ++bar)
        for (int id : toolBarButtonIds(static_cast<int>(bar)))
            showToolBarButton(static_cast<int>(bar), id,
                              !hidden[bar].contains(QString::number(id)));
    return restored;
}

void MainWindow::setVisualStyle(int id) {
    applyVisualStyle(id);
    openWorkspaceStore()->setValue(kApplicationLookKey, id);
}

void MainWindow::applyVisualStyle(int id) {
    m_visualStyle = id;
    if (isOffice2007Colour(id)) m_office2007Colour = id;
    const VisualStyle& look = visualStyleOf(id, m_office2007Colour);
    // The look is the application's: dialogs and menus follow it too.
    const QString name = QString::fromLatin1(look.qtStyle);
    if (QApplication::style()->name().compare(name, Qt::CaseInsensitive) != 0)
        if (QStyle* style = QStyleFactory::create(name)) QApplication::setStyle(style);
    QApplication::setPalette(paletteOf(look.colours));
    // Qt posts the change to each widget; deliver it now so that the frame
    // and its panes are redrawn in the new look at once.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::ApplicationPaletteChange);
    setDockOptions(look.smartDocking ? dockOptions() | AnimatedDocks
                                     : dockOptions() & ~DockOptions(AnimatedDocks));
    refreshCommands();
}

}  // namespace qf
