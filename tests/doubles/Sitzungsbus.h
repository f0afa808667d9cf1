#pragma once

#include "doubles/Begleitprozess.h"

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

// A D-Bus session bus of the test's own: a dbus-daemon started for it and
// ended with it, with no service directories, so that nothing on it starts
// by itself. Without the program the test skips with the reason.
class Sitzungsbus
{
public:
    Sitzungsbus();
    ~Sitzungsbus();

    bool laeuft() const { return !m_adresse.isEmpty(); }
    QString grund() const { return m_grund; }
    QString adresse() const { return m_adresse; }
    // A new connection to the bus, under a name of the test's choice.
    QDBusConnection verbinde(const QString &name);

private:
    QTemporaryDir m_dir; // the configuration and the socket
    Begleitprozess m_daemon;
    QString m_adresse;
    QString m_grund;
    QStringList m_verbindungen;
};

// A notification server on such a bus that records every notification it
// is asked to show, and presses its buttons when the test says so.
class Benachrichtigungsserver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Aufruf
    {
        uint ersetzt;
        QString titel;
        QString text;
        QStringList aktionen;
        QString symbol;
        QVariantMap hinweise;
        QString programm;
    };

    // Registers the server on `bus`; `faehigkeiten` answer GetCapabilities.
    Benachrichtigungsserver(QDBusConnection bus, const QStringList &faehigkeiten);
    ~Benachrichtigungsserver() override;

    bool angemeldet() const { return m_angemeldet; }
    QList<Aufruf> aufrufe;
    uint letzteId() const { return m_naechsteId - 1; }
    void waehle(uint id, const QString &aktion) { emit ActionInvoked(id, aktion); }

public slots:
    QStringList GetCapabilities() { return m_faehigkeiten; }
    uint Notify(const QString &programm, uint ersetzt, const QString &symbol, const QString &titel,
                const QString &text, const QStringList &aktionen, const QVariantMap &hinweise, int dauer);
    void CloseNotification(uint) {}

signals:
    void ActionInvoked(uint id, const QString &action_key);
    void NotificationClosed(uint id, uint reason);

private:
    QDBusConnection m_bus;
    QStringList m_faehigkeiten;
    uint m_naechsteId = 1;
    bool m_angemeldet = false;
};
