#include "Sitzungsbus.h"

#include "platform/benachrichtigung/DBusBenachrichtigungen.h"

#include <QFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

Sitzungsbus::Sitzungsbus()
{
    const QString programm = QStandardPaths::findExecutable(u"dbus-daemon"_s);
    if (programm.isEmpty()) {
        m_grund = u"dbus-daemon fehlt (Debian-Paket dbus-daemon)"_s;
        return;
    }
    QFile config(m_dir.filePath(u"bus.conf"_s));
    if (!config.open(QIODevice::WriteOnly)) {
        m_grund = u"keine Konfiguration für dbus-daemon: "_s + config.errorString();
        return;
    }
    config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN\" "
                 "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n<busconfig><type>session</type>"
                 "<listen>unix:dir=" + m_dir.path().toUtf8() + "</listen><auth>EXTERNAL</auth>"
                 "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                 "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
    config.close();
    m_daemon.start(programm, {u"--config-file="_s + config.fileName(), u"--nofork"_s, u"--print-address"_s});
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

uint Benachrichtigungsserver::Notify(const QString &programm, uint ersetzt, const QString &symbol,
                                     const QString &titel, const QString &text, const QStringList &aktionen,
                                     const QVariantMap &hinweise, int)
{
    aufrufe.append({ersetzt, titel, text, aktionen, symbol, hinweise, programm});
    return ersetzt != 0 ? ersetzt : m_naechsteId++;
}
