#pragma once
// "Quillfen ヘルプ": the user's guide, shipped inside the program, in the
// language the window speaks.

#include <QWidget>

class QTextBrowser;

namespace qf {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    QTextBrowser* browser() const { return m_browser; }

    // The guide's page for an interface language ("en"; anything else is
    // the Japanese guide).
    static QUrl pageFor(const QString& language);

private:
    QTextBrowser* m_browser;
};

}  // namespace qf
