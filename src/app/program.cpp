// Program start with the real dependencies.
#include "app/program.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLoggingCategory>
#include <cstdio>

#include "app/instancechannel.h"
#include "app/mainwindow.h"
#include "app/programdirectory.h"
#include "app/qtprompter.h"
#include "data/messagetable.h"
#include "link/cbusdevice.h"
#include "link/eventloopwaiter.h"
#include "link/linklog.h"
#include "link/qtserialport.h"
#include "link/signalpipe.h"
#include "link/wiretrace.h"

namespace {

constexpr int kStartFailed = 1;

// Says why the program does not start: on standard error always, in a box too when there is
// a screen to show it on.
int failToStart(Prompter& prompter, const QString& title, const QString& text) {
    QString plain = text;
    plain.replace(MessageTable::kPartBreak, QStringLiteral("\n"));
    std::fprintf(stderr, "%s\n", plain.toLocal8Bit().constData());
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
        prompter.message(title, text);
    }
    return kStartFailed;
}

}  // namespace

int runProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veltrane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/veltrane.svg")));
    // --verbose: the link logs every frame and what it did about it on standard error.
    if (QApplication::arguments().contains(QStringLiteral("--verbose"))) {
        QLoggingCategory::setFilterRules(QLatin1String(kLinkLogRule));
    }
    QtPrompter prompter;
    // --trace FILE: the link's events are written to FILE as well as kept for the report.
    const QStringList arguments = QApplication::arguments();
    if (const qsizetype trace = arguments.indexOf(QStringLiteral("--trace")); trace > 0) {
        const QString file = arguments.value(trace + 1);
        QString error;
        if (file.isEmpty() || !wireTrace().writeTo(file, error)) {
            MessageTable messages;
            messages.fill(Language::English);
            return failToStart(
                prompter, QApplication::applicationName(),
                messages.text(Msg::CannotStart) + MessageTable::kPartBreak +
                    messages.text(Msg::TraceNotWritten).arg(QDir::toNativeSeparators(file), error));
        }
    }

    QString failedFolder;
    QString reason;
    const ProgramFolders folders = ProgramDirectory::resolve(failedFolder, reason);
    if (!failedFolder.isEmpty() || !reason.isEmpty()) {
        MessageTable messages;
        messages.fill(Language::English);
        return failToStart(prompter, QApplication::applicationName(),
                           messages.text(Msg::CannotStart) + MessageTable::kPartBreak +
                               messages.text(Msg::FolderUnusable)
                                   .arg(QDir::toNativeSeparators(failedFolder), reason));
    }

    QtSerialPortAdapter port;
    std::unique_ptr<CbusDevice> device = makeCbusDevice();
    EventLoopWaiter waiter;
    MainWindow window(MainWindowDependencies{port, *device, prompter, waiter, folders.data, nullptr,
                                             folders.scratch, QString()});
    prompter.setOwner(&window);
    // Logout and shutdown end the window as File > End does, with no one to answer.
    SignalPipe termination({SIGTERM, SIGHUP}, SignalPipe::Repeat::Reported);
    QObject::connect(&termination, &SignalPipe::received, &window, &MainWindow::endUnattended);
    InstanceChannel channel(folders.data);
    // A second copy asks the first to show its window and ends, before it touches any file
    // of the first.
    if (!window.startUp()) {
        if (!window.startFailure().isEmpty()) {
            return failToStart(prompter, window.Machine_N_P(), window.startFailure());
        }
        channel.requestActivation();
        return 0;
    }
    channel.listen();
    QObject::connect(&channel, &InstanceChannel::activationRequested, &window, [&window] {
        window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        window.show();
        window.raise();
        window.activateWindow();
    });
    window.show();
    const int code = app.exec();
    wireTrace().stopWriting();
    return code;
}
