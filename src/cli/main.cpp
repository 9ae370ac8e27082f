// Command-line entry: the language first, then the words, then one run on the real port.
#include <unistd.h>

#include <QCoreApplication>
#include <memory>

#include "cli/options.h"
#include "cli/runner.h"
#include "link/cbusdevice.h"
#include "link/eventloopwaiter.h"
#include "link/qtserialport.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("veltrane-cli"));
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    MessageTable messages;
    const int lang = static_cast<int>(arguments.indexOf(QStringLiteral("--lang")));
    const bool japanese =
        lang >= 0 && lang + 1 < arguments.size() && arguments.at(lang + 1) == QLatin1String("ja");
    messages.fill(japanese ? Language::Japanese : Language::English);

    const auto parsed = parseOptions(arguments, messages);
    if (const QString* refusal = std::get_if<QString>(&parsed)) {
        std::fprintf(stderr, "%s\n", refusal->toLocal8Bit().constData());
        return Usage;
    }
    const CliOptions& options = std::get<CliOptions>(parsed);
    QtSerialPortAdapter port;
    std::unique_ptr<CbusDevice> device = makeCbusDevice();
    EventLoopWaiter waiter;
    CliRunner runner(options, messages, port, *device, waiter, stdout, isatty(STDERR_FILENO) != 0);
    return runner.run();
}
