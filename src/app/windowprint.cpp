// The main window's print host over its data sets, graph view and tables.
#include "app/windowprint.h"

#include "data/datasets.h"
#include "graph/graphview.h"
#include "link/session.h"
#include "operations/csvfiles.h"
#include "ui/datatable.h"

WindowPrinting::WindowPrinting(DataSets& dataSets, GraphView& graphs,
                               const std::array<DataTableView*, 3>& tables, Session& session,
                               CsvFiles& files, const MessageTable& messages)
    : dataSets_(dataSets),
      graphs_(graphs),
      tables_(tables),
      session_(session),
      files_(files),
      printing_(*this, messages, session.prompter(), [&session](QDialog& dialog) {
          return session.prompter().hold([&dialog] { return dialog.exec(); });
      }) {}

void WindowPrinting::showDialog(int dataSet, int viewKind, QWidget* owner) {
    if (session_.busy()) {
        return;
    }
    session_.prompter().hold(
        [&] { printing_.operations().showPrintDialog(dataSet, viewKind, owner); });
}

DataSet* WindowPrinting::printDataSet(int index) {
    return index >= 0 && index < 3 ? &dataSets_[static_cast<DataSetIndex>(index)] : nullptr;
}

QString WindowPrinting::printName(int index) {
    const DataSet* set = printDataSet(index);
    return set != nullptr ? set->identName : QString();
}

Bars WindowPrinting::printBars() {
    return graphs_.bars();
}

const GraphRenderer& WindowPrinting::printRenderer() {
    return graphs_.renderer();
}

PrintTable WindowPrinting::printTable(int index) {
    if (index < 0 || index >= 3) {
        return {};
    }
    const DataTableView* table = tables_[index];
    return {&table->model()->rows(), table->selectedRows()};
}

QString WindowPrinting::printTitle() {
    return session_.state().Machine_N_P;
}

QString WindowPrinting::printDirectory() {
    return files_.lastDirectory;
}
