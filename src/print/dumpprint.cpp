// Dump pages: the cell texts and headings are the table's own; the page closes when the next
// row and the footer would no longer fit.
#include "print/dumpprint.h"

namespace {

constexpr int kThin = 1;
constexpr int kThick = 3;
constexpr int kColumns = TableRows::kColumnCount;
// Text starts this many column units right of its column's rule.
constexpr double kCellInset = 0.2;

class DumpPrinter {
  public:
    DumpPrinter(PrintPage& page, const PrintHeaderFacts& facts, const TableRows& table)
        : page_(page), p_(page.columns()), lh_(page.lh()), facts_(facts), table_(table) {}

    void headings(double y) {
        page_.setBold(true);
        // A heading wider than its column is fitted between its rules, as far from the right
        // rule as the text starts from the left one.
        for (int c = 0; c < kColumns; ++c) {
            page_.fittedText(left(c), p_[c + 1] - kCellInset * page_.u(), y, table_.caption(c));
        }
        page_.line(p_[0], y, p_[kColumns], y, kThick);
        page_.line(p_[0], y + lh_, p_[kColumns], y + lh_, kThick);
        tableTop_ = y;
    }

    void row(double y, int row) {
        page_.setBold(false);
        for (int c = 0; c < kColumns; ++c) {
            const QString text = table_.cellText(row, c);
            page_.text(
                left(c), y,
                c == TableRows::RemarksColumn ? page_.fitting(left(c), p_[kColumns], text) : text);
        }
        page_.line(p_[0], y + lh_, p_[kColumns], y + lh_, kThin);
    }

    // The column rules from the headings down, the thick rule under the last row, then the
    // page number and the name at the foot.
    void footer(double y) {
        // One rule per column and page draws what a rule over every row's height would.
        for (int c = 0; c <= kColumns; ++c) {
            page_.line(p_[c], tableTop_, p_[c], y + lh_, kThick);
        }
        page_.line(p_[0], y + lh_, p_[kColumns], y + lh_, kThick);
        page_.setBold(true);
        const double foot = PrintPage::kScale - lh_;
        const QString number = QStringLiteral(" %1").arg(page_.pageNumber());
        page_.text(p_[4] / 2 - page_.textWidth(number) / 2, foot, number);
        page_.text(p_[0], foot, facts_.name);
    }

  private:
    double left(int column) const { return p_[column] + kCellInset * page_.u(); }

    PrintPage& page_;
    const PrintColumns& p_;
    double lh_;
    const PrintHeaderFacts& facts_;
    const TableRows& table_;
    double tableTop_ = 0;
};

}  // namespace

bool printDumpPages(PrintPage& page, const PrintHeaderFacts& facts, DataSet& set,
                    const TableRows& table, const std::vector<int>& rows,
                    const MessageTable& messages) {
    set.windowStats.reset();
    Sample sample;
    for (const int row : rows) {
        if (set.read(table.recordAt(row), sample) == DataError::None) {
            set.windowStats.update(sample);
        }
    }

    const double lh = page.lh();
    DumpPrinter printer(page, facts, table);
    double y = printPageHeader(page, facts, set, messages) + lh;
    printer.headings(y);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        y += lh;
        printer.row(y, rows[i]);
        // A page ends on the row after which the next row and the footer would not fit; the
        // last row never opens an empty page.
        if (y + 4 * lh > PrintPage::kScale && i + 1 < rows.size()) {
            printer.footer(y);
            if (!page.newPage()) {
                return false;
            }
            y = 3 * lh;
            printer.headings(y);
        }
    }
    printer.footer(y);
    return true;
}
