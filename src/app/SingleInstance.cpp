#include "SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QStandardPaths>

namespace {

// Every request starts with this word, so a stray client is told apart from a copy of the program.
constexpr auto RequestTag = "TESSARON-OPEN";
constexpr int ConnectTimeoutMs = 1000;
// Loading a game may take a moment (or wait for the user to read a message); a copy waits this long
// for the first one to say it is done, and ends either way.
constexpr int ReplyTimeoutMs = 10000;
constexpr int LockTimeoutMs = 5000;
// A request is one file name; anything larger is not from a copy of the program.
constexpr qint64 MaxRequestBytes = 64 * 1024;
constexpr char Done = '1';

QString RuntimeFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

} // namespace

TSingleInstance::TSingleInstance(QObject* parent) : QObject(parent) {
    connect(&FServer, &QLocalServer::newConnection, this, &TSingleInstance::Accept);
}

QString TSingleInstance::ServerPath() {
    return RuntimeFolder() + "/tessaron.socket";
}

bool TSingleInstance::Claim(const QString& fileName) {
    // Two copies started at the same moment must not both find no server and both listen. A lock
    // held too long (by a copy that hangs while it starts) is not waited for any longer.
    QLockFile lock(ServerPath() + ".lock");
    lock.tryLock(LockTimeoutMs);
    if (HandOver(fileName)) return false;
    Listen();
    return true;
}

bool TSingleInstance::HandOver(const QString& fileName) {
    QLocalSocket socket;
    socket.connectToServer(ServerPath());
    if (!socket.waitForConnected(ConnectTimeoutMs)) return false;
    QByteArray request;
    QDataStream out(&request, QIODevice::WriteOnly);
    out << QStringList{RequestTag, fileName.isEmpty() ? QString() : QFileInfo(fileName).absoluteFilePath()};
    socket.write(request);
    socket.waitForBytesWritten(ConnectTimeoutMs);
    // The running copy has the request; its answer only says when it is done with it.
    socket.waitForReadyRead(ReplyTimeoutMs);
    return true;
}

// Nothing answered at the socket, so whatever is there is left from a copy that ended without
// removing it.
void TSingleInstance::Listen() {
    QLocalServer::removeServer(ServerPath());
    FServer.setSocketOptions(QLocalServer::UserAccessOption);
    if (!FServer.listen(ServerPath()))
        qWarning("TESSARON runs without the single-copy check: %s", qPrintable(FServer.errorString()));
}

void TSingleInstance::Accept() {
    while (QLocalSocket* client = FServer.nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { ReadRequest(client); });
    }
}

void TSingleInstance::ReadRequest(QLocalSocket* client) {
    if (client->bytesAvailable() > MaxRequestBytes) {
        client->abort();
        return;
    }
    QDataStream in(client);
    in.startTransaction();
    QStringList request;
    in >> request;
    if (!in.commitTransaction()) return; // the rest is still on its way
    if (request.size() != 2 || request.first() != RequestTag) {
        client->abort();
        return;
    }
    // Loading the game may process events, in which the client may go.
    const QPointer<QLocalSocket> guard(client);
    Deliver(request.last());
    if (!guard) return;
    client->write(&Done, 1);
    client->disconnectFromServer();
}

void TSingleInstance::Deliver(const QString& fileName) {
    if (FHandler)
        FHandler(fileName);
    else
        FPending << fileName;
}

void TSingleInstance::SetHandler(THandler handler) {
    FHandler = std::move(handler);
    const QStringList pending = std::exchange(FPending, {});
    for (const QString& fileName : pending)
        Deliver(fileName);
}
