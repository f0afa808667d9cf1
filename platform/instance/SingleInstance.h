#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class QLocalServer;
class QLockFile;

// One running program per user and settings file. The first start holds a
// lock and listens on a local socket; a later start hands its command line
// over that socket and ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // `key` separates independent profiles (one per settings file).
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the running instance and listens for hand-overs.
    bool tryBecomePrimary();
    // Sends the arguments to the running instance; false when none answered in time.
    bool sendToPrimary(const QStringList &arguments, int timeoutMs = 5000) const;

    // The per-user folder (mode 0700) that holds the lock and the socket.
    static QString runtimeDirectory();
    // A real folder of this user that nobody else may enter.
    static bool eigenerOrdner(const QString &dir);
    QString socketPath() const;

signals:
    void argumentsReceived(const QStringList &arguments);

private:
    void acceptConnection();

    QString m_baseName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};
