#include "platform/instance/SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <signal.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent)
{
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex();
    m_baseName = runtimeDirectory() + u"/rufmon-"_s + QString::fromLatin1(hash.left(16));
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::runtimeDirectory()
{
    QString dir = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!dir.isEmpty() && QFileInfo(dir).isDir())
        return dir;
    // A shared temp folder: someone else may have made the folder first, and
    // whoever owns it could block or take over the hand-over.
    const QString name = u"/rufmon-"_s + QString::number(::getuid());
    dir = QDir::tempPath() + name;
    QDir().mkpath(dir);
    // Only our own real folder is closed: a link would pass the change on to
    // whatever folder it points at.
    const QFileInfo info(dir);
    if (info.isDir() && !info.isSymLink() && info.ownerId() == ::getuid()) {
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (eigenerOrdner(dir))
            return dir;
    }
    dir = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + name;
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return dir;
}

bool SingleInstance::eigenerOrdner(const QString &dir)
{
    const QFileInfo info(dir);
    const auto fremd = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther
                       | QFile::ExeOther;
    return info.isDir() && !info.isSymLink() && info.ownerId() == ::getuid() && !(info.permissions() & fremd);
}

QString SingleInstance::socketPath() const
{
    return m_baseName + u".sock"_s;
}

bool SingleInstance::tryBecomePrimary()
{
    m_lock = std::make_unique<QLockFile>(m_baseName + u".lock"_s);
    // Age never makes the lock stale; a lock whose process has gone is.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
        return false;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(socketPath());
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    // Without the socket the program still runs alone; hand-overs are then lost.
    m_server->listen(socketPath());
    return true;
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // A hand-over is a handful of short arguments; anything larger is not ours.
            if (socket->bytesAvailable() > MaxMessageBytes) {
                socket->abort();
                return;
            }
            // Peeked, not read: the rest of a message may still be on its way.
            const QByteArray daten = socket->peek(MaxMessageBytes + 1);
            QStringList arguments;
            switch (lies(daten, &arguments)) {
            case Lesestand::Unvollstaendig:
                return;
            case Lesestand::Ungueltig:
                socket->abort();
                return;
            case Lesestand::Vollstaendig:
                socket->readAll();
                break;
            }
            const QString grund = m_pruefung ? m_pruefung(arguments) : QString();
            QByteArray antwort;
            QDataStream out(&antwort, QIODevice::WriteOnly);
            out << grund;
            socket->write(antwort);
            socket->flush();
            if (!grund.isEmpty())
                return;
            // What the arguments start (a call's identification) lets events
            // run; the socket may go away meanwhile, so run it after this handler.
            QMetaObject::invokeMethod(
                this, [this, arguments] { emit argumentsReceived(arguments); }, Qt::QueuedConnection);
        });
    }
}

SingleInstance::Lesestand SingleInstance::lies(const QByteArray &daten, QStringList *argumente)
{
    if (daten.size() > MaxMessageBytes)
        return Lesestand::Ungueltig;
    QDataStream in(daten);
    quint32 anzahl = 0;
    in >> anzahl;
    if (in.status() != QDataStream::Ok)
        return Lesestand::Unvollstaendig;
    // Every string takes four bytes at least: a count beyond what the limit
    // holds is no hand-over of ours, and is not reserved for.
    if (anzahl > quint32(MaxMessageBytes / 4))
        return Lesestand::Ungueltig;
    QStringList liste;
    for (quint32 i = 0; i < anzahl; ++i) {
        quint32 laenge = 0;
        in >> laenge;
        if (in.status() != QDataStream::Ok)
            return Lesestand::Unvollstaendig;
        // 0xffffffff is a null string; other lengths are bytes of UTF-16.
        if (laenge == 0xffffffffu) {
            liste.append(QString());
            continue;
        }
        if (laenge % 2 != 0 || laenge > quint32(MaxMessageBytes))
            return Lesestand::Ungueltig;
        const QByteArray roh = daten.mid(in.device()->pos(), laenge);
        if (roh.size() < qsizetype(laenge))
            return Lesestand::Unvollstaendig;
        in.skipRawData(int(laenge));
        QString text(qsizetype(laenge / 2), Qt::Uninitialized);
        for (quint32 j = 0; j < laenge / 2; ++j)
            text[j] = QChar(char16_t((uchar(roh[2 * j]) << 8) | uchar(roh[2 * j + 1])));
        liste.append(text);
    }
    if (argumente)
        *argumente = liste;
    return Lesestand::Vollstaendig;
}

bool SingleInstance::primaryRuns() const
{
    QLockFile lock(m_baseName + u".lock"_s);
    qint64 pid = 0;
    QString host, app;
    if (!lock.getLockInfo(&pid, &host, &app))
        return false;
    // A lock whose process has gone is no running program.
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

SingleInstance::Antwort SingleInstance::sendToPrimary(const QStringList &arguments, int timeoutMs) const
{
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << arguments;
    if (message.size() > MaxMessageBytes)
        return {Zustellung::ZuGross, {}};

    QDeadlineTimer deadline(timeoutMs);
    const auto rest = [&deadline] { return static_cast<int>(std::max<qint64>(1, deadline.remainingTime())); };
    // The running instance may have taken the lock but not yet be listening.
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(rest())) {
            socket.write(message);
            if (!socket.waitForBytesWritten(rest()))
                return {};
            // Wait for the answer so the message is not cut off by our exit.
            QDataStream in(&socket);
            QString grund;
            for (;;) {
                in.startTransaction();
                in >> grund;
                if (in.commitTransaction())
                    break;
                if (!socket.waitForReadyRead(rest()))
                    return {};
            }
            if (!grund.isEmpty())
                return {Zustellung::Abgelehnt, grund};
            return {Zustellung::Angenommen, {}};
        }
        if (!primaryRuns())
            return {Zustellung::LaeuftNicht, {}};
        QThread::msleep(50);
    }
    return {};
}
