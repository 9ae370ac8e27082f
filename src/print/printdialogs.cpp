// Form9 and Form10: shared printer list and buttons, each with its own printer button.
#include "print/printdialogs.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/captions.h"

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
      frame1_(new QGroupBox(this)),
      combo1_(new QComboBox(frame1_)),
      command1_(new QPushButton(this)),
      command2_(new QPushButton(this)),
      command3_(new QPushButton(frame1_)) {
    setObjectName(QLatin1String(name));
    setModal(true);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setMinimumContentsLength(28);
    command1_->setObjectName(QStringLiteral("Command1"));
    command2_->setObjectName(QStringLiteral("Command2"));
    command3_->setObjectName(QStringLiteral("Command3"));
    command1_->setDefault(true);

    auto* printers = new QHBoxLayout(frame1_);
    printers->addWidget(combo1_, 1);
    printers->addWidget(command3_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame1_);
    layout->addLayout(buttons);

    connect(combo1_, &QComboBox::activated, this, &PrinterDialog::choose);
    connect(command1_, &QPushButton::clicked, this, &PrinterDialog::print);
    connect(command2_, &QPushButton::clicked, this, &QDialog::reject);
    connect(command3_, &QPushButton::clicked, this, [this] { openPrinterDialog(); });
}

void PrinterDialog::finish(QWidget* parent) {
    if (parent != nullptr) {
        setWindowIcon(parent->window()->windowIcon());
    }
    const bool graph = asked_.kind == PrintKind::Graph;
    applyDialogCaptions(this, graph ? form9Captions() : form10Captions(), messages_);
    command3_->setText(messages_.text(graph ? Msg::PrinterSetup : Msg::PrinterProperties));
    combo1_->setAccessibleName(frame1_->title());
    fillPrinters();
}

void PrinterDialog::fillPrinters() {
    choice_.refresh();
    combo1_->clear();
    combo1_->addItems(choice_.printerNames());
    combo1_->addItem(messages_.text(Msg::PdfFile));
    combo1_->setCurrentIndex(choice_.pdfFile() ? combo1_->count() - 1
                                               : combo1_->findText(choice_.printerName()));
}

void PrinterDialog::choose(int index) {
    if (index < 0 || index >= combo1_->count()) {
        return;
    }
    if (index == combo1_->count() - 1) {
        choice_.choosePdfFile();
    } else {
        choice_.choosePrinter(combo1_->itemText(index));
    }
    combo1_->setCurrentIndex(index);
    command1_->setFocus();
}

void PrinterDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    command1_->setFocus();
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

Form9::Form9(int dataSet, PrinterChoice& choice, PrinterDialogs& dialogs,
             PdfPathQuestion askPdfPath, const MessageTable& messages, QWidget* parent)
    : PrinterDialog("Form9", {dataSet, PrintKind::Graph, {}}, choice, dialogs,
                    std::move(askPdfPath), messages, parent) {
    finish(parent);
}

void Form9::openPrinterDialog() {
    dialogs_.pageSetup(choice_.settings(), this);
}

Form10::Form10(int dataSet, PrinterChoice& choice, PrinterDialogs& dialogs,
               PdfPathQuestion askPdfPath, const MessageTable& messages, QWidget* parent)
    : PrinterDialog("Form10", {dataSet, PrintKind::Dump, {}}, choice, dialogs,
                    std::move(askPdfPath), messages, parent),
      frame3_(new QGroupBox(this)),
      label1_(new QLabel(frame3_)) {
    frame3_->setObjectName(QStringLiteral("Frame3"));
    label1_->setObjectName(QStringLiteral("Label1"));
    auto* area = new QVBoxLayout(frame3_);
    area->addWidget(label1_);
    // Between the printer frame and the buttons.
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, frame3_);
    finish(parent);
}

void Form10::openPrinterDialog() {
    dialogs_.printerWindow(choice_.settings(), this);
}
