// Command-line entry: the language first, then the words, then one run on the real port.
#include <unistd.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <memory>

#include "cli/options.h"
#include "cli/runner.h"
#include "link/cbusdevice.h"
#include "link/eventloopwaiter.h"
#include "link/qtserialport.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("veltrane-cli"));
    // The words as given: a file name that is not valid text must keep its bytes.
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QByteArray(argv[i]));
    }
    MessageTable messages;
    const int lang = static_cast<int>(arguments.indexOf(QByteArray("--lang")));
    const bool japanese =
        lang >= 0 && lang + 1 < arguments.size() && arguments.at(lang + 1) == "ja";
    messages.fill(japanese ? Language::Japanese : Language::English);

    const auto parsed = parseOptions(arguments, messages);
    if (const QString* refusal = std::get_if<QString>(&parsed)) {
        std::fprintf(stderr, "%s\n", refusal->toLocal8Bit().constData());
        return Usage;
    }
    const CliOptions& options = std::get<CliOptions>(parsed);
    if (options.verbose) {
        QLoggingCategory::setFilterRules(QStringLiteral("veltrane.cli.info=true"));
    }
    QtSerialPortAdapter port;
    std::unique_ptr<CbusDevice> device = makeCbusDevice();
    EventLoopWaiter waiter;
    CliRunner runner(options, messages, port, *device, waiter, stdout, isatty(STDERR_FILENO) != 0);
    return runner.run();
}
