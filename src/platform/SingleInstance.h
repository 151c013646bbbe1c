#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

// One window per settings folder, as desktop applications keep it: the window's run
// holds a lock file in the folder, and a local socket named after the folder through
// which a later start asks that window to come to the front instead of opening a
// second one. Two runs on one folder would each store their own favourites over the
// other's, and share one recovery copy.
//
// The lock of a run that died (a crash, a kill) is taken over: it holds the dead
// process's id, which no longer runs.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& settingsFolder);
    ~SingleInstance() override;

    // Takes the folder's lock and listens for later starts. False when another running
    // process holds it. A folder where no lock can be made at all (not writable) lets
    // the run go on: it can store nothing there anyway.
    bool claim();
    // Asks the run that holds the lock to bring its window to the front, and says on
    // standard error what became of this start. False when that run could not be
    // reached.
    bool handOver() const;

    // The local socket's name: a hash of the folder's path, so that two folders never
    // share one and any path fits into a socket's name.
    static QString serverNameFor(const QString& settingsFolder);

signals:
    // A later start on the same folder handed over to this run.
    void secondStart();

private:
    void listen();
    void answer(QLocalSocket* socket);

    QString folder;
    QLockFile lock;
    QLocalServer server;
};
