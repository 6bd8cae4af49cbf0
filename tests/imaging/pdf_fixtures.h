#pragma once
// PDF files made at test time: a two-page document drawn with QPdfWriter
// (pages of different sizes and contents, so that a wrong page or a wrong
// size shows), and small documents written out by hand for what QPdfWriter
// does not make (a turned page, a password).

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <string>
#include <vector>

namespace qf::test {

// Page 1: 150 x 75 points (not whole pixels at most resolutions), its left
// half red. Page 2: 1 x 2 inches, its top
// half blue. The rest is left to the paper (white).
inline bool writeTwoPagePdf(const std::string& path) {
    QPdfWriter writer(QString::fromStdString(path));
    writer.setResolution(72);  // painter units are points
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(QSizeF(150, 75), QPageSize::Point));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    painter.fillRect(QRectF(0, 0, 75, 75), Qt::red);
    writer.setPageSize(QPageSize(QSizeF(72, 144), QPageSize::Point));
    if (!writer.newPage()) return false;
    painter.fillRect(QRectF(0, 0, 72, 72), Qt::blue);
    return painter.end();
}

// A PDF of the given objects (numbered from 1, the first the catalogue) with
// its cross-reference table; `trailer` adds entries to the trailer.
inline std::string pdfOf(const std::vector<std::string>& objects, const std::string& trailer = {}) {
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (const std::string& body : objects) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        const std::string n = std::to_string(offset);
        pdf += std::string(10 - n.size(), '0') + n + " 00000 n \n";
    }
    pdf += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root 1 0 R " + trailer +
           " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

// A PDF with the standard security handler whose user password is not the
// empty one: a reader must ask for a password before it shows anything.
inline std::string lockedPdf() {
    const std::string hash = "<" + std::string(64, '7') + ">";
    const std::string id = "<" + std::string(32, 'a') + ">";
    return pdfOf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                  "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 72 72] >>",
                  "<< /Filter /Standard /V 1 /R 2 /O " + hash + " /U " + hash + " /P -4 >>"},
                 "/Encrypt 4 0 R /ID [" + id + " " + id + "]");
}

// A page 2 x 1 inches whose left half is red, turned a quarter clockwise for
// showing (/Rotate 90, as landscape figures in papers are): shown 1 x 2
// inches, its top half red.
inline std::string rotatedPdf() {
    const std::string content = "1 0 0 rg 0 0 72 72 re f";
    return pdfOf(
        {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
         "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 144 72] /Rotate 90 /Contents 4 0 R >>",
         "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
             "\nendstream"});
}

}  // namespace qf::test
