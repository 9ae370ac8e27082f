// The image size question of File > Export graph: width and height in pixels, proposed as the
// graphs' size on screen.
#pragma once

#include <QDialog>
#include <QSize>
#include <QSpinBox>
#include <optional>

#include "data/messagetable.h"

class ExportSizeDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kSmallest = 64;
    static constexpr int kLargest = 8000;

    ExportSizeDialog(QSize proposed, const MessageTable& messages, QWidget* parent = nullptr);
    QSpinBox* widthBox() const { return width_; }
    QSpinBox* heightBox() const { return height_; }
    QSize chosen() const { return {width_->value(), height_->value()}; }

    // Shows the dialog modally; the size, or nothing when cancelled.
    static std::optional<QSize> ask(QSize proposed, const MessageTable& messages, QWidget* parent);

  private:
    QSpinBox* width_;
    QSpinBox* height_;
};
