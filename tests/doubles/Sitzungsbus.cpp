#include "Sitzungsbus.h"

#include "platform/benachrichtigung/DBusBenachrichtigungen.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

Sitzungsbus::Sitzungsbus()
{
    const QString programm = QStandardPaths::findExecutable(u"dbus-daemon"_s);
    if (programm.isEmpty()) {
        m_grund = u"dbus-daemon fehlt (Debian-Paket dbus-daemon)"_s;
        return;
    }
    m_daemon.start(programm, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
    if (!m_daemon.waitForStarted(10000) || !m_daemon.waitForReadyRead(10000)) {
        m_grund = u"dbus-daemon startet nicht: "_s + m_daemon.errorString();
        return;
    }
    m_adresse = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

Sitzungsbus::~Sitzungsbus()
{
    for (const QString &name : m_verbindungen)
        QDBusConnection::disconnectFromBus(name);
    m_daemon.terminate();
    m_daemon.waitForFinished(5000);
}

QDBusConnection Sitzungsbus::verbinde(const QString &name)
{
    m_verbindungen << name;
    return QDBusConnection::connectToBus(m_adresse, name);
}

Benachrichtigungsserver::Benachrichtigungsserver(QDBusConnection bus, const QStringList &faehigkeiten)
    : m_bus(bus)
    , m_faehigkeiten(faehigkeiten)
{
    m_angemeldet = m_bus.registerObject(DBusBenachrichtigungen::Pfad(), this,
                                        QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)
                   && m_bus.registerService(DBusBenachrichtigungen::Dienst());
}

Benachrichtigungsserver::~Benachrichtigungsserver()
{
    m_bus.unregisterService(DBusBenachrichtigungen::Dienst());
    m_bus.unregisterObject(DBusBenachrichtigungen::Pfad());
}

uint Benachrichtigungsserver::Notify(const QString &, uint ersetzt, const QString &symbol, const QString &titel,
                                     const QString &text, const QStringList &aktionen, const QVariantMap &, int)
{
    aufrufe.append({ersetzt, titel, text, aktionen, symbol});
    return ersetzt != 0 ? ersetzt : m_naechsteId++;
}
