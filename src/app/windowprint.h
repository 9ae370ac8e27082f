// The main window's printing: what the prints read from the window (data sets, names, the
// graph view's window and fonts, the tables) and the system printing bundle they run on. The
// print dialogs and jobs hold the session while they are open, so no tick or device check
// starts a procedure under them.
#pragma once

#include <array>

#include "print/printoperations.h"
#include "print/printsystem.h"

class CsvFiles;
class DataSets;
class DataTableView;
class GraphView;
class Session;

class WindowPrinting : public PrintHost {
  public:
    WindowPrinting(DataSets& dataSets, GraphView& graphs,
                   const std::array<DataTableView*, 3>& tables, Session& session, CsvFiles& files,
                   const MessageTable& messages);

    PrintOperations& operations() { return printing_.operations(); }
    // Print buttons and the print menu item: the dialog of the view kind on display.
    void showDialog(int dataSet, int viewKind, QWidget* owner);

    DataSet* printDataSet(int index) override;
    QString printName(int index) override;
    Bars printBars() override;
    const GraphRenderer& printRenderer() override;
    PrintTable printTable(int index) override;
    QString printTitle() override;
    QString printDirectory() override;

  private:
    DataSets& dataSets_;
    GraphView& graphs_;
    std::array<DataTableView*, 3> tables_;
    Session& session_;
    CsvFiles& files_;
    SystemPrinting printing_;
};
