// The table pane: layout inside its container, column widths, header and row clicks.
#include "ui/datatable.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <algorithm>

#include "controls/controlid.h"
#include "controls/twips.h"

namespace {

// Share of the table's width per column, in hundredths.
constexpr int kColumnShares[TableRows::kColumnCount] = {13, 19, 13, 13, 42};
// Inset of the table inside its container, in twips.
constexpr int kInsetTwips = 100;
// Accessible names per data set: "Log", "RealTime", "File".
constexpr Msg kDataSetNames[] = {Msg::LogDataName, Msg::RealTimeDataName, Msg::FileDataName};

}  // namespace

DataTableView::DataTableView(int index, DataSet& dataSet, const MessageTable& messages,
                             QWidget* parent)
    : QWidget(parent),
      index_(index),
      messages_(messages),
      model_(new DataTableModel(dataSet, messages, this)),
      table_(new QTableView(this)) {
    setObjectName(QLatin1String(controlName(tablePaneOf(index))));
    table_->setObjectName(QStringLiteral("ListView1_%1").arg(index));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setShowGrid(false);
    table_->setWordWrap(false);
    table_->setSortingEnabled(false);
    table_->setTextElideMode(Qt::ElideRight);

    // Fixed row heights let the view place 32767 rows without measuring them.
    QHeaderView* rows = table_->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(table_->fontMetrics().height() + 4);

    QHeaderView* header = table_->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionResizeMode(QHeaderView::Interactive);

    connect(header, &QHeaderView::sectionClicked, this, &DataTableView::columnClick);
    connect(table_, &QTableView::clicked, this,
            [this](const QModelIndex& cell) { itemClick(cell.row()); });
    retranslate();
}

void DataTableView::fill() {
    model_->fill();
}

void DataTableView::clear() {
    model_->clear();
}

DataError DataTableView::appendNewest(bool markExtremes) {
    model_->appendNewest();
    return markExtremes ? model_->markExtremes() : DataError::None;
}

void DataTableView::showSortIndicator() {
    model_->showSortIndicator();
}

void DataTableView::sizeColumns() {
    const int width = table_->width();
    for (int column = 0; column < TableRows::kColumnCount; ++column) {
        table_->setColumnWidth(column, width * kColumnShares[column] / 100);
    }
    columnsSized_ = true;
}

void DataTableView::retranslate() {
    model_->refreshCaptions();
    if (index_ >= 0 && index_ < static_cast<int>(std::size(kDataSetNames))) {
        table_->setAccessibleName(messages_.text(kDataSetNames[index_]));
    }
}

std::vector<int> DataTableView::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& row : table_->selectionModel()->selectedRows()) {
        rows.push_back(row.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void DataTableView::columnClick(int section) {
    model_->headerClicked(section);
    showSortIndicator();
}

void DataTableView::itemClick(int row) {
    if (model_->recordAt(row) == 0) {
        return;
    }
    emit statusTextChanged(model_->statusText(row));
}

void DataTableView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeTable();
}

void DataTableView::placeTable() {
    const int inset = twips(kInsetTwips);
    table_->setGeometry(inset, inset, std::max(0, width() - 2 * inset),
                        std::max(0, height() - 2 * inset));
    // The columns take their shares of the width the table has when it is first laid out.
    if (!columnsSized_ && width() > 0) {
        sizeColumns();
    }
}
