#pragma once
// The capture-parameter dialog: requested frame width, height and rate.

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "imaging/camera_source.h"

class QLineEdit;

namespace qf {

class CaptureDialog : public QDialog {
    Q_OBJECT
public:
    // warn shows a validation message; the real dialogs pass a message box.
    using Warn = std::function<void(QWidget* parent, const QString& text)>;

    CaptureDialog(const CaptureSettings& initial, Warn warn,
                               QWidget* parent = nullptr);

    // The accepted values; meaningful after the dialog was accepted.
    CaptureSettings values() const { return m_values; }

    QLineEdit* frameWidthEdit() const { return m_frameWidth; }
    QLineEdit* frameHeightEdit() const { return m_frameHeight; }
    QLineEdit* frameRateEdit() const { return m_frameRate; }

public slots:
    void accept() override;

private:
    static QString notUnsignedMessage();

    Warn m_warn;
    CaptureSettings m_values;
    QLineEdit* m_frameWidth = nullptr;
    QLineEdit* m_frameHeight = nullptr;
    QLineEdit* m_frameRate = nullptr;
};

}  // namespace qf
