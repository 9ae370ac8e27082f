// A page device that keeps what a print draws instead of writing a document: every text with
// its font and the rectangle it takes on the page, every line and every filled box, in the
// order drawn. Measures come from the fonts on this device, at the printer's resolution.
#pragma once

#include <QFont>
#include <QLineF>
#include <QPageLayout>
#include <QPdfWriter>
#include <QRectF>
#include <QString>
#include <memory>
#include <vector>

namespace printtest {

struct DrawnItem {
    enum Kind { Text, Line, Box };
    Kind kind;
    int page;
    QString text;
    QFont font;
    // Device pixels: a text's bounding rectangle, a line's ends, a box.
    QRectF rect;
    QLineF line;
    double penWidth = 0;
};

// The PDF writer is there for its page measures only: it never writes a page.
class DrawingRecorder : public QPdfWriter {
  public:
    DrawingRecorder(const QPageLayout& layout, int resolution);
    ~DrawingRecorder() override;

    std::vector<DrawnItem> items;
    int page = 1;

  private:
    QPaintEngine* paintEngine() const override;
    bool newPage() override;

    std::unique_ptr<QPaintEngine> engine_;
};

}  // namespace printtest
