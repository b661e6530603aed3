#pragma once
// Lets one copy of the program run per user. The first copy listens on a local socket in the user's
// runtime folder; a later copy hands its game file (or only the wish to see the window) over to it and
// ends. A socket left behind by a copy that crashed answers nobody: it is removed and this copy runs.

#include <QLocalServer>
#include <QObject>
#include <QStringList>
#include <functional>

class QLocalSocket;

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // `fileName` is empty when the caller only wants the running copy to come forward.
    using THandler = std::function<void(const QString& fileName)>;

    explicit TSingleInstance(QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TSingleInstance)

    // True when this copy is the first one and now answers later copies (or could not listen, and
    // runs alone). False when a running copy took `fileName` over; this copy should then end.
    bool Claim(const QString& fileName);

    // Where the requests of later copies go. Requests that came before there was a handler (while
    // the windows were still being created) are handed on at once.
    void SetHandler(THandler handler);

    // The socket of the user's running copy.
    static QString ServerPath();

private:
    bool HandOver(const QString& fileName);
    void Listen();
    void Accept();
    void ReadRequest(QLocalSocket* client);
    void Deliver(const QString& fileName);

    QLocalServer FServer;
    THandler FHandler;
    QStringList FPending;
};
