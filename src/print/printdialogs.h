// The printer dialogs of the print buttons: GraphPrintDialog (graph print) and DumpPrintDialog
// (dump print). Each lists the installed printers and the PDF file entry in the printer list,
// makes the one chosen the current printer, and on Print closes with a request for the print
// operation.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <optional>

#include "data/messagetable.h"
#include "print/printers.h"

// Report: the summary report page (header, figures, excursions and both graphs).
enum class PrintKind { Graph, Dump, Report };

// What Print asks for: the data set (Disp_stat) printed as graphs or as a dump, and for the
// PDF file entry the file the user named.
struct PrintRequest {
    int dataSet = 0;
    PrintKind kind = PrintKind::Graph;
    QString pdfPath;
};

class PrinterDialog : public QDialog {
    Q_OBJECT
  public:
    // Asks for the PDF file's name; empty when the user cancelled.
    using PdfPathQuestion = std::function<QString()>;

    QComboBox* printerList() const { return printerList_; }
    QPushButton* printButton() const { return printButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* printerButton() const { return printerButton_; }
    QGroupBox* printerFrame() const { return printerFrame_; }
    // Set once Print was pressed and the dialog accepted.
    const std::optional<PrintRequest>& request() const { return request_; }

    // The printer list's choice: that entry becomes the current printer and Print takes the focus.
    void choose(int index);

  protected:
    PrinterDialog(const char* name, PrintRequest request, PrinterChoice& choice,
                  PrinterDialogs& dialogs, PdfPathQuestion askPdfPath, const MessageTable& messages,
                  QWidget* parent);
    // The window's icon, the captions and Print's focus once the subclass built its controls.
    void finish(QWidget* parent);
    void showEvent(QShowEvent* event) override;
    virtual void openPrinterDialog() = 0;
    // What Print will ask for.
    void askFor(PrintKind kind) { asked_.kind = kind; }

    PrinterChoice& choice_;
    PrinterDialogs& dialogs_;
    const MessageTable& messages_;

  private:
    void fillPrinters();
    void print();

    PrintRequest asked_;
    PdfPathQuestion askPdfPath_;
    QGroupBox* printerFrame_;
    QComboBox* printerList_;
    QPushButton* printButton_;
    QPushButton* cancelButton_;
    QPushButton* printerButton_;
    std::optional<PrintRequest> request_;
};

// Graph print: the printer button opens the platform's print setup; the summary-report box
// prints the report page instead of the graph page.
class GraphPrintDialog : public PrinterDialog {
    Q_OBJECT
  public:
    GraphPrintDialog(int dataSet, PrinterChoice& choice, PrinterDialogs& dialogs,
                     PdfPathQuestion askPdfPath, const MessageTable& messages,
                     QWidget* parent = nullptr);

    QCheckBox* reportBox() const { return reportBox_; }

  protected:
    void openPrinterDialog() override;

  private:
    QCheckBox* reportBox_;
};

// Dump print: the printer button opens the chosen printer's own window; the print-area frame
// says what is printed.
class DumpPrintDialog : public PrinterDialog {
    Q_OBJECT
  public:
    DumpPrintDialog(int dataSet, PrinterChoice& choice, PrinterDialogs& dialogs,
                    PdfPathQuestion askPdfPath, const MessageTable& messages,
                    QWidget* parent = nullptr);

    QGroupBox* areaFrame() const { return areaFrame_; }
    QLabel* areaLabel() const { return areaLabel_; }

  protected:
    void openPrinterDialog() override;

  private:
    QGroupBox* areaFrame_;
    QLabel* areaLabel_;
};
