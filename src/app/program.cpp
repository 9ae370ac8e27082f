// Program start with the real dependencies.
#include "app/program.h"

#include <QApplication>
#include <QIcon>

#include "app/instancechannel.h"
#include "app/mainwindow.h"
#include "app/programdirectory.h"
#include "app/qtprompter.h"
#include "link/cbusdevice.h"
#include "link/eventloopwaiter.h"
#include "link/qtserialport.h"

int runProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veltrane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/veltrane.svg")));
    const QString directory = ProgramDirectory::resolve();

    QtSerialPortAdapter port;
    std::unique_ptr<CbusDevice> device = makeCbusDevice();
    QtPrompter prompter;
    EventLoopWaiter waiter;
    MainWindow window(MainWindowDependencies{port, *device, prompter, waiter, directory});
    InstanceChannel channel(directory);
    // A second copy asks the first to show its window and ends, before it touches any file
    // of the first.
    if (!window.startUp()) {
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
    prompter.setOwner(&window);
    window.show();
    return app.exec();
}
