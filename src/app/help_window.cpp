#include "app/help_window.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/language.h"

namespace qf {

QUrl HelpWindow::pageFor(const QString& language) {
    return QUrl(language == QLatin1String("en") ? QStringLiteral("qrc:/manual/en/index.html")
                                                : QStringLiteral("qrc:/manual/ja/index.html"));
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Quillfen ヘルプ"));
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    // Links between the guide's pages stay inside; a web address goes to
    // the desktop's browser.
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    m_browser->setSource(pageFor(currentInterfaceLanguage()));
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    resize(720, 640);
}

}  // namespace qf
