// How a second start reaches the running copy: a local socket named after the program
// directory (one running copy per directory, as the lock), over which the second copy asks the
// first to show its window before it ends.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

class InstanceChannel : public QObject {
    Q_OBJECT

  public:
    static constexpr int kTimeoutMs = 1000;

    explicit InstanceChannel(const QString& programDirectory, QObject* parent = nullptr);

    // The socket's name: the user and the program directory, so copies of other users or of
    // other directories never meet.
    static QString serverName(const QString& programDirectory);

    // The running copy, holding the lock, listens. A socket left by a copy that died is
    // replaced: holding the lock proves its owner is gone.
    bool listen();
    // The second copy asks the running one to show itself; false when none listens.
    bool requestActivation(int timeoutMs = kTimeoutMs);

  signals:
    void activationRequested();

  private:
    void accept();

    QString name_;
    QLocalServer server_;
};
