// The printer dialogs of the print buttons: Form9 (graph print) and Form10 (dump print). Each
// lists the installed printers and the PDF file entry in Combo1, makes the one chosen the
// current printer, and on Print closes with a request for the print operation.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <optional>

#include "data/messagetable.h"
#include "print/printers.h"

enum class PrintKind { Graph, Dump };

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

    QComboBox* Combo1() const { return combo1_; }
    QPushButton* Command1() const { return command1_; }
    QPushButton* Command2() const { return command2_; }
    QPushButton* Command3() const { return command3_; }
    QGroupBox* Frame1() const { return frame1_; }
    // Set once Print was pressed and the dialog accepted.
    const std::optional<PrintRequest>& request() const { return request_; }

    // Combo1's choice: that entry becomes the current printer and Print takes the focus.
    void choose(int index);

  protected:
    PrinterDialog(const char* name, PrintRequest request, PrinterChoice& choice,
                  PrinterDialogs& dialogs, PdfPathQuestion askPdfPath, const MessageTable& messages,
                  QWidget* parent);
    // The window's icon, the captions and Print's focus once the subclass built its controls.
    void finish(QWidget* parent);
    void showEvent(QShowEvent* event) override;
    virtual void openPrinterDialog() = 0;

    PrinterChoice& choice_;
    PrinterDialogs& dialogs_;
    const MessageTable& messages_;

  private:
    void fillPrinters();
    void print();

    PrintRequest asked_;
    PdfPathQuestion askPdfPath_;
    QGroupBox* frame1_;
    QComboBox* combo1_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* command3_;
    std::optional<PrintRequest> request_;
};

// Graph print: Command3 opens the platform's print setup.
class Form9 : public PrinterDialog {
    Q_OBJECT
  public:
    Form9(int dataSet, PrinterChoice& choice, PrinterDialogs& dialogs, PdfPathQuestion askPdfPath,
          const MessageTable& messages, QWidget* parent = nullptr);

  protected:
    void openPrinterDialog() override;
};

// Dump print: Command3 opens the chosen printer's own window; Frame3 says what is printed.
class Form10 : public PrinterDialog {
    Q_OBJECT
  public:
    Form10(int dataSet, PrinterChoice& choice, PrinterDialogs& dialogs, PdfPathQuestion askPdfPath,
           const MessageTable& messages, QWidget* parent = nullptr);

    QGroupBox* Frame3() const { return frame3_; }
    QLabel* Label1() const { return label1_; }

  protected:
    void openPrinterDialog() override;

  private:
    QGroupBox* frame3_;
    QLabel* label1_;
};
