// The printed page's coordinate system: the printable area runs from (0, 0) at the top left to
// (10000, 10000) at the bottom right whatever the paper, text is 10.5 point, and the column
// unit u and line height lh are measured on the printer when a job starts.
#pragma once

#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>

// Column positions P0 .. P10 in page units (P6 to P8 are not used).
struct PrintColumns {
    std::array<double, 11> p{};
    double operator[](int i) const { return p[static_cast<std::size_t>(i)]; }
};

class PrintPage {
  public:
    static constexpr double kScale = 10000;
    static constexpr double kPointSize = 10.5;
    // Left margins of the graph print and of the dump print.
    static constexpr double kGraphMargin = 500;
    static constexpr double kDumpMargin = 1000;

    // The painter is active on the device, whose printable area is the page. u is 1.5 times
    // the width of the column-unit text ("A"), lh the height of that text.
    PrintPage(QPainter& painter, QPagedPaintDevice& device, const QFont& font,
              const QString& unitText, double leftMargin);

    QPainter& painter() { return painter_; }
    double u() const { return u_; }
    double lh() const { return lh_; }
    const PrintColumns& columns() const { return columns_; }

    // Device pixels of page units.
    double x(double units) const { return units * width_ / kScale; }
    double y(double units) const { return units * height_ / kScale; }
    QRectF deviceRect(double left, double top, double right, double bottom) const;
    // Page units per device pixel, both directions.
    double unitsPerPixelX() const { return kScale / width_; }
    double unitsPerPixelY() const { return kScale / height_; }

    void setBold(bool bold);
    double textWidth(const QString& text) const;
    // Text with its top-left corner at (x, y) in page units.
    void text(double x, double y, const QString& text);
    // The longest leading part of text that fits between x and right, measured character by
    // character (nothing of a character that would pass right is printed).
    QString fitting(double x, double right, const QString& text) const;
    // Text at (x, y) that ends before right: too wide, it is drawn smaller on the same
    // baseline (down to kSmallestFit of the size), and what still passes right is cut.
    void fittedText(double x, double right, double y, const QString& text);
    static constexpr double kSmallestFit = 0.6;
    // A line drawn with a pen of drawWidth printer widths (1 thin, 3 thick).
    void line(double x1, double y1, double x2, double y2, int drawWidth);

    // The printer's page counter: 1 on the first page.
    int pageNumber() const { return pageNumber_; }
    // False when the printer could not start the page.
    bool newPage();

  private:
    QPainter& painter_;
    QPagedPaintDevice& device_;
    QFont font_;
    double width_;
    double height_;
    double u_ = 0;
    double lh_ = 0;
    PrintColumns columns_;
    int pageNumber_ = 1;
};
