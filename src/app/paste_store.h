#pragma once
// A picture pasted from the clipboard has no file, and the document names
// its picture by path so that undo, the project file and the recovery copy
// can read it again. The store keeps each pasted picture as a PNG file for
// as long as the work may need it; saving the project writes it beside the
// project under a name the user chooses.

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <opencv2/core.hpp>

namespace qf {

class PasteStore {
public:
    virtual ~PasteStore() = default;
    struct Kept {
        QString path;   // the PNG written; empty when it was not
        QString error;  // why not
        QString note;   // something the user should know (where it was kept instead)
    };
    // Writes the picture (8-bit BGR) as a new PNG file of the store.
    virtual Kept keep(const cv::Mat& picture) = 0;
    // Whether path is a picture this store (or an earlier run's store in the
    // same place) kept: the document shows it as pasted, and saving the
    // project asks where to write it.
    virtual bool holds(const QString& path) const = 0;
};

// Pasted pictures in a folder of their own, removed with the store: for a
// window without a recovery folder (and the tests).
class TemporaryPasteStore final : public PasteStore {
public:
    Kept keep(const cv::Mat& picture) override;
    bool holds(const QString& path) const override;

private:
    std::unique_ptr<QTemporaryDir> m_dir;  // made for the first paste
    int m_count = 0;
};

// Writes picture as a PNG at path, readable by the user only.
QString writePastedPicture(const QString& path, const cv::Mat& picture);

}  // namespace qf
