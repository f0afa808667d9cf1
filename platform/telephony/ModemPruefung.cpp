#include "platform/telephony/ModemPruefung.h"

#include <QSerialPort>

#include <utility>

using namespace Qt::StringLiterals;

ModemPruefung::ModemPruefung(QObject *parent)
    : QObject(parent)
{
    m_frist.setSingleShot(true);
    connect(&m_frist, &QTimer::timeout, this, [this] {
        ende(false, u"%1 antwortet nicht innerhalb von %2 s auf AT."_s.arg(m_pfad).arg(m_warteMs / 1000.0));
    });
}

ModemPruefung::~ModemPruefung()
{
    abbrechen();
}

void ModemPruefung::abbrechen()
{
    m_frist.stop();
    m_antwort.clear();
    if (QSerialPort *port = std::exchange(m_port, nullptr)) {
        port->disconnect(this);
        port->close();
        port->deleteLater();
    }
}

void ModemPruefung::pruefen(const QString &pfad, int baud)
{
    abbrechen();
    m_pfad = pfad;
    auto *port = new QSerialPort(pfad, this);
    if (!port->open(QIODevice::ReadWrite)) {
        const QString grund = port->error() == QSerialPort::PermissionError
                                  ? u"%1 lässt sich nicht öffnen: keine Berechtigung (Gruppe „dialout“?), oder ein "
                                    u"anderes Programm benutzt die Schnittstelle."_s.arg(pfad)
                                  : u"%1 lässt sich nicht öffnen: %2."_s.arg(pfad, port->errorString());
        delete port;
        emit ergebnis(false, grund);
        return;
    }
    // Pseudo-terminals and some adapters refuse line settings; a modem answers without them.
    port->setBaudRate(baud);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    port->clearError();
    port->setReadBufferSize(MaxAntwortBytes);
    m_port = port;
    connect(port, &QSerialPort::readyRead, this, &ModemPruefung::lesen);
    m_frist.start(m_warteMs);
    port->write("AT\r");
}

void ModemPruefung::lesen()
{
    if (!m_port)
        return;
    m_antwort += m_port->read(MaxAntwortBytes - m_antwort.size());
    // The echo of "AT" may come first; the result is a line of its own.
    for (const QByteArray &zeile : m_antwort.split('\n')) {
        const QByteArray text = zeile.trimmed();
        if (text == "OK") {
            ende(true, QString());
            return;
        }
        if (text == "ERROR") {
            ende(false, u"%1 antwortet auf AT mit ERROR."_s.arg(m_pfad));
            return;
        }
    }
    if (m_antwort.size() >= MaxAntwortBytes)
        ende(false, u"%1 antwortet auf AT nicht wie ein Modem."_s.arg(m_pfad));
}

void ModemPruefung::ende(bool ok, const QString &grund)
{
    if (!m_port)
        return;
    abbrechen();
    emit ergebnis(ok, grund);
}
