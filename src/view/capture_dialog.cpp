#include "view/capture_dialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace qf {
namespace {

// Dialog units: a quarter of the average character width across, an eighth
// of the character height down, so the layout follows the dialog's font.
class DialogUnits {
public:
    explicit DialogUnits(const QFontMetrics& fm)
        : m_x(std::max(1, (fm.horizontalAdvance(QStringLiteral(
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) +
                           26) /
                              52)),
          m_y(std::max(1, fm.height())) {}
    int x(int units) const { return (units * m_x + 2) / 4; }
    int y(int units) const { return (units * m_y + 4) / 8; }
    QRect rect(int left, int top, int w, int h) const { return {x(left), y(top), x(w), y(h)}; }

private:
    int m_x;
    int m_y;
};

QLabel* label(QWidget* parent, const QString& text, const QRect& r) {
    auto* l = new QLabel(text, parent);
    // The given width is a minimum: a wider font must not clip the caption.
    l->setGeometry(r.x(), r.y(), std::max(r.width(), l->sizeHint().width()),
                   std::max(r.height(), l->sizeHint().height()));
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, uint32_t value, const QRect& r) {
    auto* e = new QLineEdit(QString::number(value), parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(r);
    return e;
}

// An unsigned decimal 32-bit integer, blanks around it allowed; nothing for
// any other text (empty, signed, fractional, too large).
std::optional<uint32_t> parseUnsignedField(const QString& text) {
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('+'))) t.remove(0, 1);
    if (t.isEmpty()) return std::nullopt;
    uint64_t value = 0;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c.unicode() - '0');
        if (value > UINT32_MAX) return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

}  // namespace

QString CaptureDialog::notUnsignedMessage() {
    return tr("正の整数を入力してください。");
}

CaptureDialog::CaptureDialog(const CaptureSettings& initial, Warn warn,
                                                       QWidget* parent)
    : QDialog(parent), m_warn(std::move(warn)), m_values(initial) {
    setWindowTitle(tr("VideoCapture設定パラメータ"));
    const DialogUnits du(fontMetrics());
    // Created in tab order: the three fields, then OK, then Cancel.
    label(this, tr("フレーム幅"), du.rect(7, 10, 34, 8));
    m_frameWidth = edit(this, "frameWidth", static_cast<uint32_t>(initial.captureWidth),
                        du.rect(56, 7, 40, 14));
    label(this, tr("フレーム高"), du.rect(7, 27, 34, 8));
    m_frameHeight = edit(this, "frameHeight", static_cast<uint32_t>(initial.captureHeight),
                         du.rect(56, 24, 40, 14));
    label(this, tr("フレームレート"), du.rect(7, 45, 44, 8));
    m_frameRate = edit(this, "frameRate", static_cast<uint32_t>(initial.captureFps),
                       du.rect(56, 42, 40, 14));
    label(this, QStringLiteral("FSP"), du.rect(99, 45, 13, 8));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(du.rect(122, 47, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setGeometry(du.rect(122, 30, 50, 14));
    connect(ok, &QPushButton::clicked, this, &CaptureDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CaptureDialog::reject);
    int right = du.x(179);
    int bottom = du.y(68);
    for (const QWidget* w : findChildren<QWidget*>()) {
        right = std::max(right, w->geometry().right() + du.x(7));
        bottom = std::max(bottom, w->geometry().bottom() + du.y(7));
    }
    setFixedSize(right, bottom);
}

void CaptureDialog::accept() {
    QLineEdit* const fields[] = {m_frameWidth, m_frameHeight, m_frameRate};
    uint32_t values[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::optional<uint32_t> v = parseUnsignedField(fields[i]->text());
        if (!v) {
            if (m_warn) m_warn(this, notUnsignedMessage());
            fields[i]->setFocus();
            fields[i]->selectAll();
            return;
        }
        values[i] = *v;
    }
    // Stored as the device's int fields; the unsigned value round-trips.
    m_values.captureWidth = static_cast<int32_t>(values[0]);
    m_values.captureHeight = static_cast<int32_t>(values[1]);
    m_values.captureFps = static_cast<int32_t>(values[2]);
    QDialog::accept();
}

}  // namespace qf
