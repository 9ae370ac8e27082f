// Current printer and its settings.
#include "print/printers.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>

namespace {

// A PDF page: A4 upright, with the few millimetres a printer cannot reach.
constexpr double kPdfMarginMillimetres = 5;

}  // namespace

void PrinterChoice::settle() {
    if (settled_) {
        return;
    }
    const QStringList installed = catalog_.printerNames();
    const QString fallback = catalog_.defaultPrinterName();
    settled_ = true;
    settings_.reset();
    if (installed.contains(fallback)) {
        pdf_ = false;
        name_ = fallback;
    } else if (!installed.isEmpty()) {
        pdf_ = false;
        name_ = installed.first();
    } else {
        pdf_ = true;
        name_.clear();
    }
}

void PrinterChoice::refresh() {
    if (settled_ && !pdf_ && !catalog_.printerNames().contains(name_)) {
        settled_ = false;
    }
}

bool PrinterChoice::pdfFile() {
    settle();
    return pdf_;
}

QString PrinterChoice::printerName() {
    settle();
    return name_;
}

void PrinterChoice::choosePrinter(const QString& name) {
    if (settled_ && !pdf_ && name_ == name) {
        return;
    }
    settled_ = true;
    pdf_ = false;
    name_ = name;
    settings_.reset();
}

void PrinterChoice::choosePdfFile() {
    if (settled_ && pdf_) {
        return;
    }
    settled_ = true;
    pdf_ = true;
    name_.clear();
    settings_.reset();
}

QPrinter& PrinterChoice::settings() {
    settle();
    if (!settings_) {
        if (pdf_) {
            settings_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
            settings_->setOutputFormat(QPrinter::PdfFormat);
            settings_->setPageLayout(
                QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                            QMarginsF(kPdfMarginMillimetres, kPdfMarginMillimetres,
                                      kPdfMarginMillimetres, kPdfMarginMillimetres),
                            QPageLayout::Millimeter));
        } else {
            settings_ = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name_),
                                                   QPrinter::HighResolution);
        }
    }
    return *settings_;
}
