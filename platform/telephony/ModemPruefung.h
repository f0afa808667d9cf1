#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class QSerialPort;

// Asks whatever sits on a serial port for "AT"; a modem answers "OK". Used
// before a port is added as a line, so that it is known to be a modem.
class ModemPruefung : public QObject
{
    Q_OBJECT

public:
    static constexpr int WarteMs = 2000;
    // More than a modem says to "AT"; the rest is not read.
    static constexpr qsizetype MaxAntwortBytes = 1024;

    explicit ModemPruefung(QObject *parent = nullptr);
    ~ModemPruefung() override;

    void setWarteMs(int ms) { m_warteMs = ms; }
    // A new check; one still running is dropped.
    void pruefen(const QString &pfad, int baud);
    void abbrechen();
    bool laeuft() const { return m_port != nullptr; }

signals:
    // ok: the port answered OK; otherwise why not, as a sentence.
    void ergebnis(bool ok, const QString &grund);

private:
    void lesen();
    void ende(bool ok, const QString &grund);

    QSerialPort *m_port = nullptr; // a child, while a check runs
    QString m_pfad;
    QByteArray m_antwort;
    QTimer m_frist;
    int m_warteMs = WarteMs;
};
