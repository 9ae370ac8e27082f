// GraphPrintDialog and DumpPrintDialog: shared printer list and buttons, each with its own printer
// button.
#include "print/printdialogs.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "controls/captions.h"

namespace {

// Captions of the printer buttons, which the dialogs' caption tables leave to them.

}  // namespace

PrinterDialog::PrinterDialog(const char* name, PrintRequest request, PrinterChoice& choice,
                             PrinterDialogs& dialogs, PdfPathQuestion askPdfPath,
                             const MessageTable& messages, QWidget* parent)
    : QDialog(parent),
      choice_(choice),
      dialogs_(dialogs),
      messages_(messages),
      asked_(std::move(request)),
      askPdfPath_(std::move(askPdfPath)),
      printerFrame_(new QGroupBox(this)),
      printerList_(new QComboBox(printerFrame_)),
      printButton_(new QPushButton(this)),
      cancelButton_(new QPushButton(this)),
      printerButton_(new QPushButton(printerFrame_)) {
    setObjectName(QLatin1String(name));
    setModal(true);
    printerFrame_->setObjectName(QStringLiteral("Frame1"));
    printerList_->setObjectName(QStringLiteral("Combo1"));
    printerList_->setMinimumContentsLength(28);
    printButton_->setObjectName(QStringLiteral("Command1"));
    cancelButton_->setObjectName(QStringLiteral("Command2"));
    printerButton_->setObjectName(QStringLiteral("Command3"));
    printButton_->setDefault(true);

    auto* printers = new QHBoxLayout(printerFrame_);
    printers->addWidget(printerList_, 1);
    printers->addWidget(printerButton_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(printButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerFrame_);
    layout->addLayout(buttons);

    connect(printerList_, &QComboBox::activated, this, &PrinterDialog::choose);
    connect(printButton_, &QPushButton::clicked, this, &PrinterDialog::print);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(printerButton_, &QPushButton::clicked, this, [this] { openPrinterDialog(); });
}

void PrinterDialog::finish(QWidget* parent) {
    if (parent != nullptr) {
        setWindowIcon(parent->window()->windowIcon());
    }
    const bool graph = asked_.kind == PrintKind::Graph;
    applyDialogCaptions(this, graph ? graphPrintDialogCaptions() : dumpPrintDialogCaptions(),
                        messages_);
    printerButton_->setText(messages_.text(graph ? Msg::PrinterSetup : Msg::PrinterProperties));
    printerList_->setAccessibleName(printerFrame_->title());
    fillPrinters();
}

void PrinterDialog::fillPrinters() {
    choice_.refresh();
    printerList_->clear();
    printerList_->addItems(choice_.printerNames());
    printerList_->addItem(messages_.text(Msg::PdfFile));
    printerList_->setCurrentIndex(choice_.pdfFile()
                                      ? printerList_->count() - 1
                                      : printerList_->findText(choice_.printerName()));
}

void PrinterDialog::choose(int index) {
    if (index < 0 || index >= printerList_->count()) {
        return;
    }
    if (index == printerList_->count() - 1) {
        choice_.choosePdfFile();
    } else {
        choice_.choosePrinter(printerList_->itemText(index));
    }
    printerList_->setCurrentIndex(index);
    printButton_->setFocus();
}

void PrinterDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    printButton_->setFocus();
}

void PrinterDialog::print() {
    PrintRequest request = asked_;
    if (choice_.pdfFile()) {
        request.pdfPath = askPdfPath_ ? askPdfPath_() : QString();
        // Cancelling the file question leaves the dialog open.
        if (request.pdfPath.isEmpty()) {
            return;
        }
    }
    request_ = request;
    accept();
}

GraphPrintDialog::GraphPrintDialog(int dataSet, PrinterChoice& choice, PrinterDialogs& dialogs,
                                   PdfPathQuestion askPdfPath, const MessageTable& messages,
                                   QWidget* parent)
    : PrinterDialog("Form9", {dataSet, PrintKind::Graph, {}}, choice, dialogs,
                    std::move(askPdfPath), messages, parent),
      reportBox_(new QCheckBox(messages.text(Msg::SummaryReportOption), this)) {
    reportBox_->setObjectName(QStringLiteral("ReportCheck"));
    // Between the printer frame and the buttons.
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, reportBox_);
    connect(reportBox_, &QCheckBox::toggled, this,
            [this](bool on) { askFor(on ? PrintKind::Report : PrintKind::Graph); });
    finish(parent);
}

void GraphPrintDialog::openPrinterDialog() {
    dialogs_.pageSetup(choice_.settings(), this);
}

DumpPrintDialog::DumpPrintDialog(int dataSet, PrinterChoice& choice, PrinterDialogs& dialogs,
                                 PdfPathQuestion askPdfPath, const MessageTable& messages,
                                 QWidget* parent)
    : PrinterDialog("Form10", {dataSet, PrintKind::Dump, {}}, choice, dialogs,
                    std::move(askPdfPath), messages, parent),
      areaFrame_(new QGroupBox(this)),
      areaLabel_(new QLabel(areaFrame_)) {
    areaFrame_->setObjectName(QStringLiteral("Frame3"));
    areaLabel_->setObjectName(QStringLiteral("Label1"));
    auto* area = new QVBoxLayout(areaFrame_);
    area->addWidget(areaLabel_);
    // Between the printer frame and the buttons.
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, areaFrame_);
    finish(parent);
}

void DumpPrintDialog::openPrinterDialog() {
    dialogs_.printerWindow(choice_.settings(), this);
}
