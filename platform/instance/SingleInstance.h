#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

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

    // Largest hand-over accepted, encoded.
    static constexpr qint64 MaxMessageBytes = 64 * 1024;

    enum class Zustellung { Angenommen, Abgelehnt, LaeuftNicht, KeineAntwort, ZuGross };
    struct Antwort
    {
        Zustellung zustellung = Zustellung::KeineAntwort;
        QString grund; // why the running instance refused, in its words
    };

    // True when this process is now the running instance and listens for hand-overs.
    bool tryBecomePrimary();
    // Whether a running instance holds the lock; never takes it.
    bool primaryRuns() const;
    // Sends the arguments to the running instance and waits for its answer.
    // The sender never takes the lock, so a program starting meanwhile is
    // not kept from becoming the running instance.
    Antwort sendToPrimary(const QStringList &arguments, int timeoutMs = 5000) const;
    // What the running instance answers before it acts on a hand-over: empty
    // to take it, otherwise the reason it refuses. None set: everything is taken.
    void setPruefung(std::function<QString(const QStringList &)> pruefung) { m_pruefung = std::move(pruefung); }

    enum class Lesestand { Vollstaendig, Unvollstaendig, Ungueltig };
    // Reads a hand-over from what arrived so far; a count or length that the
    // size limit rules out makes it invalid before anything is allocated.
    static Lesestand lies(const QByteArray &daten, QStringList *argumente);

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
    std::function<QString(const QStringList &)> m_pruefung;
};
