#include "app/series_controller.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>
#include <opencv2/imgproc.hpp>

#include "app/main_window.h"
#include "document/document.h"
#include "document/series_edit.h"
#include "imaging/image_pair.h"
#include "imaging/series_finder.h"
#include "points/source_points.h"
#include "ui/dialogs.h"
#include "view/escape_poll.h"
#include "view/image_view.h"
#include "view/series_fits.h"

namespace qf {

namespace {

// The finder's plain English words and the window's for them.
struct Words {
    const char* english;
    const char* text;
};
const Words kColourNames[] = {
    {"black", QT_TRANSLATE_NOOP("qf::Series", "黒")},
    {"white", QT_TRANSLATE_NOOP("qf::Series", "白")},
    {"grey", QT_TRANSLATE_NOOP("qf::Series", "灰色")},
    {"brown", QT_TRANSLATE_NOOP("qf::Series", "茶")},
    {"red", QT_TRANSLATE_NOOP("qf::Series", "赤")},
    {"orange", QT_TRANSLATE_NOOP("qf::Series", "オレンジ")},
    {"olive", QT_TRANSLATE_NOOP("qf::Series", "オリーブ")},
    {"yellow", QT_TRANSLATE_NOOP("qf::Series", "黄")},
    {"green", QT_TRANSLATE_NOOP("qf::Series", "緑")},
    {"cyan", QT_TRANSLATE_NOOP("qf::Series", "シアン")},
    {"blue", QT_TRANSLATE_NOOP("qf::Series", "青")},
    {"purple", QT_TRANSLATE_NOOP("qf::Series", "紫")},
    {"pink", QT_TRANSLATE_NOOP("qf::Series", "ピンク")},
    {"magenta", QT_TRANSLATE_NOOP("qf::Series", "マゼンタ")},
};

QString colourWord(const std::string& english) {
    for (const Words& w : kColourNames)
        if (english == w.english) return QCoreApplication::translate("qf::Series", w.text);
    return QString::fromStdString(english);
}

QString tr8(const char* text) {
    return QCoreApplication::translate("qf::Series", text);
}

QColor qColour(uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

QIcon swatch(uint32_t colour) {
    QPixmap p(12, 12);
    p.fill(qColour(colour));
    QPainter painter(&p);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, 11, 11);
    return QIcon(p);
}

uint32_t colourOfBgr(const cv::Vec3b& c) {
    return uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | uint32_t(c[2]);
}

// A name no other series has: the wanted one, else with " 2", " 3", ...
std::string uniqueName(const std::vector<Series>& series, const std::string& wanted) {
    auto taken = [&](const std::string& n) {
        return std::any_of(series.begin(), series.end(),
                           [&](const Series& x) { return x.name == n; });
    };
    if (!taken(wanted)) return wanted;
    for (int k = 2;; ++k)
        if (const std::string n = wanted + " " + std::to_string(k); !taken(n)) return n;
}

}  // namespace

SeriesController::SeriesController(MainWindow& frame, ImageView& view, Document& doc,
                                   Dialogs& dialogs, QDockWidget* beside)
    : QObject(&frame), m_frame(frame), m_view(view), m_doc(doc), m_dialogs(dialogs) {
    m_toolBar = new QToolBar(tr8(QT_TRANSLATE_NOOP("qf::Series", "系列")), &frame);
    m_toolBar->setObjectName(QStringLiteral("SeriesToolBar"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_combo = new QComboBox(m_toolBar);
    m_combo->setObjectName(QStringLiteral("SeriesSelector"));
    m_combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_combo->setToolTip(
        tr8(QT_TRANSLATE_NOOP("qf::Series", "点の追加と抽出、フィッティングの対象の系列")));
    m_toolBar->addWidget(m_combo);
    for (int id : {ID_SERIES_ADD, ID_EXTRACT_ALL_SERIES, ID_FIT_ALL_SERIES})
        m_toolBar->addAction(frame.action(id));
    frame.addToolBar(Qt::TopToolBarArea, m_toolBar);

    m_pane = new QDockWidget(tr8(QT_TRANSLATE_NOOP("qf::Series", "系列")), &frame);
    m_pane->setObjectName(QStringLiteral("SeriesPane"));
    auto* body = new QWidget(m_pane);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(2, 2, 2, 2);
    m_list = new QListWidget(body);
    m_list->setObjectName(QStringLiteral("SeriesList"));
    column->addWidget(m_list);
    auto* buttons = new QHBoxLayout;
    const int ids[] = {ID_SERIES_ADD, ID_SERIES_RENAME, ID_SERIES_RECOLOUR, ID_SERIES_DELETE};
    for (int id : ids) {
        auto* b = new QToolButton(body);
        b->setDefaultAction(frame.action(id));
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        buttons->addWidget(b);
        m_list->addAction(frame.action(id));
    }
    buttons->addStretch(1);
    column->addLayout(buttons);
    m_pane->setWidget(body);
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    if (!frame.restoreDockWidget(m_pane)) {
        frame.addDockWidget(Qt::RightDockWidgetArea, m_pane);
        if (beside) frame.splitDockWidget(beside, m_pane, Qt::Vertical);
        // A short list under the settings, which need the room.
        frame.resizeDocks({m_pane}, {160}, Qt::Vertical);
    }

    connect(m_combo, qOverload<int>(&QComboBox::activated), this, &SeriesController::choose);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling) choose(row);
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { renameActive(); });

    frame.setCommandHandler(ID_SERIES_ADD, [this] { addSeries(); });
    frame.setCommandHandler(ID_SERIES_RENAME, [this] { renameActive(); });
    frame.setCommandHandler(ID_SERIES_RECOLOUR, [this] { recolourActive(); });
    frame.setCommandHandler(ID_SERIES_DELETE, [this] { deleteActive(); });
    frame.setCommandHandler(ID_SERIES_MOVE_POINT, [this] { moveSelectedPoint(); });
    frame.setCommandHandler(ID_EXTRACT_ALL_SERIES, [this] { extractEverySeries(); });

    connect(&m_doc, &Document::changed, this, &SeriesController::refresh);
    connect(&m_view, &ImageView::stateChanged, this, &SeriesController::refresh);
    refresh();
}

void SeriesController::refresh() {
    // What the view shows: its record is the document's, or a gesture ahead.
    const DocumentRecord& r = m_view.state().doc;
    m_filling = true;
    const int n = int(r.series.size());
    while (m_combo->count() > n) m_combo->removeItem(m_combo->count() - 1);
    while (m_list->count() > n) delete m_list->takeItem(m_list->count() - 1);
    for (int i = 0; i < n; ++i) {
        const Series& s = r.series[std::size_t(i)];
        const QString text = tr8(QT_TRANSLATE_NOOP("qf::Series", "%1 (%2 点)"))
                                 .arg(QString::fromStdString(seriesDisplayName(r, i)))
                                 .arg(s.points.size());
        const QIcon icon = swatch(s.colour);
        if (i < m_combo->count()) {
            m_combo->setItemText(i, text);
            m_combo->setItemIcon(i, icon);
        } else {
            m_combo->addItem(icon, text);
        }
        if (i >= m_list->count()) m_list->addItem(new QListWidgetItem);
        m_list->item(i)->setText(text);
        m_list->item(i)->setIcon(icon);
    }
    m_combo->setCurrentIndex(r.active);
    m_list->setCurrentRow(r.active);
    m_filling = false;
}

bool SeriesController::edit(const char* label, const std::function<void(DocumentRecord&)>& change) {
    return m_doc.edit(label, change);
}

void SeriesController::choose(int index) {
    if (index < 0 || index == m_doc.record().active) return;
    edit(QT_TRANSLATE_NOOP("qf::Edits", "系列の選択"),
         [index](DocumentRecord& r) { setActiveSeries(r, index); });
    refresh();
}

void SeriesController::addSeries() {
    const bool added = edit(QT_TRANSLATE_NOOP("qf::Edits", "系列の追加"), [](DocumentRecord& r) {
        // A lone series had no name to tell it from others: now it needs one.
        if (r.series.size() == 1 && r.series.front().name.empty())
            r.series.front().name = seriesDisplayName(r, 0);
        Series s;
        s.colour = unusedSeriesColour(r);
        s.extraction = r.current().extraction;
        s.fit = r.current().fit;
        DocumentRecord named = r;
        named.series.push_back(Series{});
        s.name = uniqueName(r.series, seriesDisplayName(named, int(r.series.size())));
        qf::addSeries(r, std::move(s));
    });
    if (!added)
        m_dialogs.message(&m_view,
                          tr8(QT_TRANSLATE_NOOP("qf::Series", "これ以上系列を追加できません。")),
                          MessageIcon::Warning);
}

void SeriesController::renameActive() {
    const DocumentRecord& r = m_doc.record();
    const int index = r.active;
    const std::optional<QString> typed =
        m_dialogs.text(&m_view, tr8(QT_TRANSLATE_NOOP("qf::Series", "系列の名前を変更")),
                       tr8(QT_TRANSLATE_NOOP("qf::Series", "「%1」の新しい名前:"))
                           .arg(QString::fromStdString(seriesDisplayName(r, index))));
    if (!typed || typed->trimmed().isEmpty()) return;
    const std::string name = typed->trimmed().toStdString();
    edit(QT_TRANSLATE_NOOP("qf::Edits", "系列の名前の変更"),
         [&](DocumentRecord& d) { renameSeries(d, index, name); });
}

void SeriesController::recolourActive() {
    const int index = m_doc.record().active;
    const std::optional<uint32_t> chosen =
        m_dialogs.colour(&m_view, m_doc.record().current().colour);
    if (!chosen) return;
    edit(QT_TRANSLATE_NOOP("qf::Edits", "系列の色の変更"),
         [&](DocumentRecord& d) { recolourSeries(d, index, *chosen); });
}

void SeriesController::deleteActive() {
    const int index = m_doc.record().active;
    edit(QT_TRANSLATE_NOOP("qf::Edits", "系列の削除"),
         [index](DocumentRecord& d) { removeSeries(d, index); });
}

void SeriesController::moveSelectedPoint() {
    const DocumentRecord& r = m_doc.record();
    const int point = m_view.state().selectedPoint;
    if (r.series.size() < 2 || point < 0 || point >= int(r.current().points.size())) return;
    std::vector<int> targets;
    QStringList names;
    for (int i = 0; i < int(r.series.size()); ++i)
        if (i != r.active) {
            targets.push_back(i);
            names << QString::fromStdString(seriesDisplayName(r, i));
        }
    int to = targets.front();
    if (targets.size() > 1) {
        names << tr8(QT_TRANSLATE_NOOP("qf::Series", "キャンセル"));
        const int escape = int(names.size()) - 1;
        const int choice = m_dialogs.choose(
            &m_view,
            tr8(QT_TRANSLATE_NOOP("qf::Series", "点 %1 をどの系列へ移動しますか?")).arg(point + 1),
            names, 0, escape);
        if (choice < 0 || choice >= escape) return;
        to = targets[std::size_t(choice)];
    }
    const int from = r.active;
    const bool moved = edit(QT_TRANSLATE_NOOP("qf::Edits", "点の系列の移動"),
                            [&](DocumentRecord& d) { movePoint(d, from, std::size_t(point), to); });
    if (!moved)
        m_dialogs.message(
            &m_view, tr8(QT_TRANSLATE_NOOP("qf::Series", "移動先の系列の点の一覧が一杯です。")),
            MessageIcon::Warning);
}

void SeriesController::extractEverySeries() {
    ViewState& s = m_view.state();
    if (!s.imagePresent()) return;
    // The colours tell the curves apart: the working picture in colour, which
    // before a mapping is the input (the grey rendering has lost them).
    cv::Mat picture = s.doc.applied ? outputImage(s.images) : s.images.inputImage;
    if (picture.channels() == 1) cv::cvtColor(picture, picture, cv::COLOR_GRAY2BGR);
    const IntRect area = extractionArea(s.doc);
    std::vector<FoundSeries> found;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        KeyboardEscapePoll escape;  // Escape stops it as it stops one extraction
        found = qf::extractEverySeries(picture, area, s.doc.current().extraction,
                                       [&escape] { return escape.escapeRequested(); });
        QApplication::restoreOverrideCursor();
    }
    if (found.empty()) {
        m_dialogs.message(
            &m_view, tr8(QT_TRANSLATE_NOOP("qf::Series", "軸の範囲に曲線が見つかりませんでした。")),
            MessageIcon::Warning);
        return;
    }
    bool sharedColour = false;
    int made = 0;
    edit(QT_TRANSLATE_NOOP("qf::Edits", "すべての系列の抽出"), [&](DocumentRecord& r) {
        // Series without points make way; so do those of an earlier run
        // (the same colour's name), so that running it again replaces them.
        std::vector<std::string> names;
        for (const FoundSeries& f : found) names.push_back(colourWord(f.colourName).toStdString());
        std::vector<Series> kept;
        for (const Series& x : r.series) {
            const bool again = std::find(names.begin(), names.end(),
                                         x.name.substr(0, x.name.find(' '))) != names.end();
            if (!x.points.empty() && !again) kept.push_back(x);
        }
        if (kept.size() == 1 && kept.front().name.empty()) {
            DocumentRecord one;
            one.series = kept;
            kept.front().name = seriesDisplayName(one, 0);
        }
        const Series settings = r.current();
        r.series = kept;
        r.active = int(kept.size());
        for (std::size_t k = 0; k < found.size() && r.series.size() < kMaxSeries; ++k) {
            const FoundSeries& f = found[k];
            Series x;
            x.name = uniqueName(r.series, names[k]);
            // The curve's own colour when it stands apart from the others'.
            x.colour = colourForCurve(r.series, colourOfBgr(f.extraction.colour));
            x.points = f.extraction.points;
            if (x.points.size() > std::size_t(kMaxSourcePoints)) x.points.resize(kMaxSourcePoints);
            x.extraction = settings.extraction;
            x.fit = settings.fit;
            r.series.push_back(std::move(x));
            sharedColour = sharedColour || f.sharesColour;
            ++made;
        }
        if (r.series.empty()) r.series.push_back(Series{});
        r.active = std::clamp(r.active, 0, int(r.series.size()) - 1);
    });
    // The points show on the working picture with a point tool.
    if (s.tools.tool != Tool::AddPoints && s.tools.tool != Tool::ErasePoints &&
        s.tools.tool != Tool::Extract)
        m_frame.triggerCommand(ID_ADD_POINTS);
    QString note = tr8(QT_TRANSLATE_NOOP("qf::Series", "%1 個の系列を抽出しました。")).arg(made);
    if (sharedColour)
        note += tr8(QT_TRANSLATE_NOOP("qf::Series",
                                      " 同じ色の曲線があります。交差するところは、それぞれの"
                                      "曲線を「曲線 自動抽出」でクリックして確かめてください。"));
    m_frame.statusBar()->showMessage(note, 15000);
}

}  // namespace qf
