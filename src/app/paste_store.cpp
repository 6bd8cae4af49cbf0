#include "app/paste_store.h"

#include <QFile>
#include <QFileInfo>

#include "imaging/image_file.h"

namespace qf {

QString writePastedPicture(const QString& path, const cv::Mat& picture) {
    const ImageWriteResult written = writeImageFile(path.toStdString(), picture);
    if (!written.ok) return QString::fromStdString(written.error);
    // What was on the clipboard may be anything the user copied.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return {};
}

PasteStore::Kept TemporaryPasteStore::keep(const cv::Mat& picture) {
    if (!m_dir) m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid()) return {{}, m_dir->errorString(), {}};
    const QString path = m_dir->filePath(QStringLiteral("pasted-%1.png").arg(++m_count));
    const QString error = writePastedPicture(path, picture);
    return {error.isEmpty() ? path : QString(), error, {}};
}

bool TemporaryPasteStore::holds(const QString& path) const {
    return m_dir && m_dir->isValid() && !path.isEmpty() &&
           QFileInfo(path).absolutePath() == QFileInfo(m_dir->path()).absoluteFilePath();
}

}  // namespace qf
