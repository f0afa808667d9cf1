#pragma once

#include "platform/telephony/Tr064Aufruf.h"

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>

// The router's own list of the last calls, through its TR-064 service: the
// SOAP action GetCallList of X_AVM-DE_OnTel (HTTP digest authentication)
// names the list's address, an XML file read from the router itself. A
// reader: it reports what it read or why it could not, and shows nothing.
class Tr064Anrufliste : public QObject
{
    Q_OBJECT

public:
    // One call of the router's list.
    struct Anruf
    {
        enum class Art { Angenommen, Verpasst, Abgewiesen, Ausgehend, Laufend };
        Art art = Art::Angenommen;
        QString anrufer;   // the other party's number; empty when withheld
        QString angerufen; // the own number called
        QDateTime zeit;    // local time, to the minute
        int dauer = -1;    // seconds
        QString name;      // as the router's phone book names the caller
    };

    static constexpr qint64 MaxAntwortBytes = 4 * 1024 * 1024;

    explicit Tr064Anrufliste(QObject *parent = nullptr);

    static QByteArray anfrage();
    // The list's address out of the SOAP answer; empty when there is none.
    static QString listenAdresse(const QByteArray &antwort);
    // The calls of the list's XML in the order it gives them; entries it
    // cannot read are left out.
    static QList<Anruf> lies(const QByteArray &xml);

    // One reading at a time: a new one replaces one still running.
    void lade(const QString &host, quint16 port, const QString &benutzer, const QString &kennwort);

signals:
    void geladen(const QList<Tr064Anrufliste::Anruf> &anrufe);
    void abgelehnt();
    void fehler(const QString &grund);

private:
    void beantwortet(const QByteArray &antwort);

    Tr064Aufruf m_aufruf;
    QString m_host;
    bool m_listeGefragt = false; // the SOAP action answered, the list itself is read
};

Q_DECLARE_METATYPE(Tr064Anrufliste::Anruf)
