#include "view/pdf_page_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "imaging/image_file.h"

namespace qf {
namespace {

constexpr int kThumbnailSide = 128;

// A page's outline at thumbnail size, shown until its thumbnail is drawn.
QPixmap blankPage(PdfPageSize size) {
    QPixmap blank(kThumbnailSide, kThumbnailSide);
    blank.fill(Qt::transparent);
    const double longer = std::max({size.width, size.height, 1.0});
    const int w = std::max(1, int(kThumbnailSide * size.width / longer));
    const int h = std::max(1, int(kThumbnailSide * size.height / longer));
    QPainter painter(&blank);
    painter.fillRect((kThumbnailSide - w) / 2, (kThumbnailSide - h) / 2, w, h, Qt::white);
    painter.setPen(Qt::lightGray);
    painter.drawRect((kThumbnailSide - w) / 2, (kThumbnailSide - h) / 2, w - 1, h - 1);
    return blank;
}

QPixmap pixmapOf(const cv::Mat& bgr) {
    QPixmap square(kThumbnailSide, kThumbnailSide);
    square.fill(Qt::transparent);
    const QImage image(bgr.data, bgr.cols, bgr.rows, int(bgr.step), QImage::Format_BGR888);
    QPainter painter(&square);
    painter.drawImage((kThumbnailSide - bgr.cols) / 2, (kThumbnailSide - bgr.rows) / 2, image);
    return square;
}

}  // namespace

std::optional<PdfPageChoice> choosePdfPage(QWidget* parent, const QString& path,
                                           PdfPageChoice initial) {
    PdfPageDialog dialog(path, initial, parent);
    if (!dialog.documentOpened()) return initial;
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.choice();
}

PdfPageDialog::PdfPageDialog(const QString& path, PdfPageChoice initial, QWidget* parent)
    : QDialog(parent), m_document(std::make_unique<PdfDocument>(path.toStdString())) {
    setWindowTitle(tr("PDF のページを選ぶ"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("%1（%2 ページ）: グラフのあるページを選んでください。")
                                     .arg(QFileInfo(path).fileName())
                                     .arg(m_document->pageCount()),
                                 this));

    m_pages = new QListWidget(this);
    m_pages->setViewMode(QListView::IconMode);
    m_pages->setIconSize(QSize(kThumbnailSide, kThumbnailSide));
    m_pages->setResizeMode(QListView::Adjust);
    m_pages->setMovement(QListView::Static);
    m_pages->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pages->setMinimumSize(4 * (kThumbnailSide + 24), 2 * (kThumbnailSide + 40));
    for (int page = 1; page <= m_document->pageCount(); ++page)
        m_pages->addItem(new QListWidgetItem(QIcon(blankPage(m_document->pageSize(page))),
                                             QString::number(page)));
    layout->addWidget(m_pages);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("解像度:"), this));
    m_dpi = new QSpinBox(this);
    m_dpi->setRange(kMinPdfDpi, kMaxPdfDpi);
    m_dpi->setSingleStep(50);
    m_dpi->setSuffix(QStringLiteral(" dpi"));
    m_dpi->setValue(std::clamp(initial.dpi, kMinPdfDpi, kMaxPdfDpi));
    row->addWidget(m_dpi);
    m_size = new QLabel(this);
    row->addWidget(m_size, 1);
    layout->addLayout(row);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));
    layout->addWidget(m_buttons);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pages, &QListWidget::currentRowChanged, this, &PdfPageDialog::showSize);
    connect(m_pages, &QListWidget::itemActivated, this, [this] {
        if (m_buttons->button(QDialogButtonBox::Ok)->isEnabled()) accept();
    });
    connect(m_dpi, &QSpinBox::valueChanged, this, &PdfPageDialog::showSize);
    if (m_document->pageCount() > 0)
        m_pages->setCurrentRow(std::clamp(initial.page, 1, m_document->pageCount()) - 1);
    showSize();

    connect(&m_thumbnailTimer, &QTimer::timeout, this, &PdfPageDialog::drawNextThumbnail);
    if (m_document->ok()) m_thumbnailTimer.start(0);
}

PdfPageDialog::~PdfPageDialog() = default;

PdfPageChoice PdfPageDialog::choice() const {
    return {m_pages->currentRow() + 1, m_dpi->value()};
}

void PdfPageDialog::drawNextThumbnail() {
    if (m_nextThumbnail > m_document->pageCount()) {
        m_thumbnailTimer.stop();
        return;
    }
    const int page = m_nextThumbnail++;
    // A page that does not render keeps its outline; the reason is given
    // when it is opened.
    const cv::Mat thumbnail = m_document->thumbnail(page, kThumbnailSide);
    if (!thumbnail.empty()) m_pages->item(page - 1)->setIcon(QIcon(pixmapOf(thumbnail)));
}

// The size the chosen page will have; a size over the picture limit cannot
// be opened, and says what resolution can.
void PdfPageDialog::showSize() {
    const PdfPageSize page = m_document->pageSize(choice().page);
    const cv::Size size = pdfPixelSize(page, m_dpi->value());
    const int64_t pixels = int64_t(size.width) * size.height;
    const int64_t limit = maxPicturePixels();
    const bool fits = page.width > 0 && pixels <= limit;
    const QString shown = tr("%1 × %2 ピクセル（%3 メガピクセル）")
                              .arg(size.width)
                              .arg(size.height)
                              .arg(QString::fromStdString(megapixelsText(pixels)));
    if (page.width <= 0) {
        m_size->clear();
    } else if (fits) {
        m_size->setText(shown);
    } else {
        const int fitting = largestPdfDpi(page, limit);
        const QString over = tr("%1 は上限の %2 メガピクセルを超えます。")
                                 .arg(shown, QString::fromStdString(megapixelsText(limit)));
        m_size->setText(
            fitting >= kMinPdfDpi ? over + tr("%1 dpi 以下にしてください。").arg(fitting) : over);
    }
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(fits);
}

}  // namespace qf
