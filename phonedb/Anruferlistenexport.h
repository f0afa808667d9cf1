#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

struct Anruf;

// The caller list as a file for other programs. A table (CSV) as a
// spreadsheet with German settings opens it without questions: UTF-8 with a
// byte-order mark, ";" between the fields, every field in quotes (a quote in
// it doubled), CRLF at the end of a line, a header row, the moment as
// "TT.MM.JJJJ HH:MM:SS". Or an address book (vCard 3.0) of the callers that
// are contacts. The file is written whole or not at all.
class Anruferlistenexport
{
public:
    // One call as the caller list shows it.
    struct Zeile
    {
        QString nummer;
        QString datum; // as the list shows it
        QString ort;
        QString kontakt;
        QString kontaktId; // the contact's id; empty for a caller who is no contact
        QString firma;     // the contact's company, where known
        QString angerufen; // the number or extension the call was for, where the line told it
    };
    enum class Format { Tabelle, Adressbuch };

    // The calls in the order given (the caller list's, as it shows them).
    static QList<Zeile> ausAnrufen(const std::vector<Anruf> &anrufe);
    // The contacts among the callers, each once, in list order.
    static QStringList KontaktIds(const QList<Zeile> &zeilen);
    // The number of cards an address book of these calls holds.
    static int Kontakte(const QList<Zeile> &zeilen);

    // A name ending in ".vcf" asks for an address book, any other for a table.
    static Format FormatFuer(const QString &pfad);
    static QByteArray Tabelle(const QList<Zeile> &zeilen);
    static QByteArray Adressbuch(const QList<Zeile> &zeilen);
    // What became of the call: "erkannt" (a contact), "freie Liste" (a name
    // from the free list), "unbekannt".
    static QString Ergebnis(const Zeile &zeile);
    // The list's moment as "TT.MM.JJJJ HH:MM:SS"; a text that is no moment stays as it is.
    static QString Zeitpunkt(const QString &listenDatum);

    // Writes the file in the format its name asks for. False with the reason
    // in Fehler(); then no file is left there, and one that was there stays as it was.
    bool schreibe(const QString &pfad, const QList<Zeile> &zeilen);
    const QString &Fehler() const { return m_fehler; }

private:
    QString m_fehler;
};
