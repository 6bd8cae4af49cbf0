#pragma once
// Buttons above the fit's report, one per form of the fitted formula (the
// formula language's, Python's, a spreadsheet cell's), each putting its form
// on the clipboard: the report is typed over freely, so selecting a long
// line by hand is where a coefficient gets lost.

#include <QWidget>
#include <array>

#include "fit/readable_results.h"

class QToolButton;

namespace qf {

class FormulaCopyBar : public QWidget {
    Q_OBJECT
public:
    explicit FormulaCopyBar(QWidget* parent = nullptr);

    // The forms of the fit shown; a form that is empty has no button. The
    // bar hides when there is none.
    void setForms(const FormulaForms& forms);
    void clear() { setForms({}); }

    static constexpr int kForms = 3;
    QToolButton* button(int form) const { return m_buttons[std::size_t(form)]; }

private:
    std::array<QToolButton*, kForms> m_buttons{};
    std::array<QString, kForms> m_texts;
};

}  // namespace qf
