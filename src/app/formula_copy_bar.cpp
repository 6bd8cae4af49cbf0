#include "app/formula_copy_bar.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace qf {

FormulaCopyBar::FormulaCopyBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FormulaCopyBar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(new QLabel(tr("コピー:"), this));
    const QString names[kForms] = {tr("式"), QStringLiteral("Python"), tr("表計算")};
    for (int k = 0; k < kForms; ++k) {
        auto* b = new QToolButton(this);
        b->setText(names[k]);
        b->setAutoRaise(false);
        connect(b, &QToolButton::clicked, this,
                [this, k] { QApplication::clipboard()->setText(m_texts[std::size_t(k)]); });
        row->addWidget(b);
        m_buttons[std::size_t(k)] = b;
    }
    row->addStretch(1);
    hide();
}

void FormulaCopyBar::setForms(const FormulaForms& forms) {
    const std::string* texts[kForms] = {&forms.formula, &forms.python, &forms.spreadsheet};
    bool any = false;
    for (std::size_t k = 0; k < kForms; ++k) {
        m_texts[k] = QString::fromStdString(*texts[k]);
        m_buttons[k]->setVisible(!m_texts[k].isEmpty());
        m_buttons[k]->setToolTip(m_texts[k]);
        any = any || !m_texts[k].isEmpty();
    }
    setVisible(any);
}

}  // namespace qf
