// Filling and first painting the data table with 32767 samples, beside a bare table view
// over a trivial in-memory model of the same rows (the floor). Also times a text sort.
#include <QAbstractTableModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPixmap>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "common/benchdata.h"
#include "common/timing.h"
#include "data/dataset.h"
#include "data/messagetable.h"
#include "ui/datatable.h"

namespace {

constexpr int kRows = DataSet::kMaxCount;
constexpr int kRuns = 5;
constexpr QSize kPaneSize(1000, 600);

// The floor: the same five texts per row, formatted beforehand and held in memory.
class TrivialModel : public QAbstractTableModel {
  public:
    void setRows(const std::vector<QStringList>& rows) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : TableRows::kColumnCount;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) {
            return {};
        }
        return rows_[static_cast<std::size_t>(index.row())].at(index.column());
    }

  private:
    std::vector<QStringList> rows_;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir dir;
    DataSet dataSet;
    std::vector<QStringList> texts;
    texts.reserve(kRows);
    if (!dir.isValid() ||
        !fillBenchDataSet(dataSet, dir.filePath(QStringLiteral("real.rand")), kRows,
                          [&](int record, Sample& sample) {
                              texts.push_back(TableRows::cellTexts(record, sample));
                          })) {
        return 1;
    }
    MessageTable messages;
    messages.fillEnglish();

    std::vector<double> table;
    std::vector<double> sorted;
    std::vector<double> sortedFill;
    std::vector<double> floor;
    for (int run = 0; run < kRuns; ++run) {
        {
            DataTableView view(0, dataSet, messages);
            view.resize(kPaneSize);
            view.show();
            QApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            view.fill();
            const QPixmap painted = view.grab();
            table.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            timer.restart();
            view.columnClick(TableRows::TemperatureColumn);
            const QPixmap resorted = view.grab();
            sorted.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            timer.restart();
            view.fill();
            const QPixmap refilled = view.grab();
            sortedFill.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            if (painted.isNull() || resorted.isNull() || refilled.isNull() ||
                view.model()->rowCount() != kRows) {
                std::fprintf(stderr, "table not painted\n");
                return 1;
            }
        }
        {
            TrivialModel model;
            QTableView view;
            view.setModel(&model);
            view.verticalHeader()->hide();
            view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
            view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 4);
            view.setShowGrid(false);
            view.resize(kPaneSize);
            view.show();
            QApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            model.setRows(texts);
            const QPixmap painted = view.grab();
            floor.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            if (painted.isNull()) {
                return 1;
            }
        }
    }
    std::printf("rows: %d, runs: %d (median)\n", kRows, kRuns);
    std::printf("data table fill + first paint: %8.2f ms (goal < 100 ms)\n", median(table));
    std::printf("bare table view + first paint: %8.2f ms (floor)\n", median(floor));
    std::printf("ratio to floor:                %8.2f\n", median(table) / median(floor));
    std::printf("sort by temperature text + paint: %5.2f ms\n", median(sorted));
    std::printf("fill + paint, sorted by temperature: %5.2f ms\n", median(sortedFill));
    return 0;
}
