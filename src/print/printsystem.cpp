// Printer list, dialogs and spooling through the platform.
#include "print/printsystem.h"

#include <cups/cups.h>

#include <QByteArray>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <algorithm>
#include <vector>

QStringList SystemPrinterCatalog::printerNames() const {
    return QPrinterInfo::availablePrinterNames();
}

QString SystemPrinterCatalog::defaultPrinterName() const {
    return QPrinterInfo::defaultPrinterName();
}

void QtPrinterDialogs::pageSetup(QPrinter& printer, QWidget* parent) {
    QPageSetupDialog dialog(&printer, parent);
    dialog.exec();
}

void QtPrinterDialogs::printerWindow(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    dialog.exec();
}

QString CupsSpooler::submit(const SpoolRequest& request) {
    const QByteArray printer = request.printer.toLocal8Bit();
    const QByteArray file = request.file.toLocal8Bit();
    const QByteArray title = request.title.toUtf8();
    const QByteArray media = request.media.toUtf8();
    const QByteArray copies = QByteArray::number(std::max(request.copies, 1));
    std::vector<cups_option_t> options;
    options.push_back({const_cast<char*>("copies"), const_cast<char*>(copies.constData())});
    if (!media.isEmpty()) {
        options.push_back({const_cast<char*>("media"), const_cast<char*>(media.constData())});
    }
    if (request.monochrome) {
        options.push_back({const_cast<char*>("print-color-mode"), const_cast<char*>("monochrome")});
    }
    const int job = cupsPrintFile(printer.constData(), file.constData(), title.constData(),
                                  static_cast<int>(options.size()), options.data());
    if (job > 0) {
        return {};
    }
    const char* reason = cupsLastErrorString();
    return reason != nullptr ? QString::fromUtf8(reason) : QString();
}

SystemPrinting::SystemPrinting(PrintHost& host, const MessageTable& messages, Prompter& prompter,
                               std::function<int(QDialog&)> execDialog)
    : operations_(host, choice_, messages, {dialogs_, spooler_, prompter}) {
    if (execDialog) {
        operations_.setDialogRunner(std::move(execDialog));
    }
}
