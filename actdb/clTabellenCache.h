#pragma once

#include "platform/jet/Trigrammzahlen.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

class Clipboard;
class Database;
class Dialogs;
class Fields;
class JetFehler;
class Recordset;
class Zeilenleser;

// The number cache: a copy of the phone, name, company and city columns of
// the contact table in a database file of our own, so that a caller is found
// without reading the whole contact table for every call.
class clTabellenCache
{
public:
    using Statusanzeige = std::function<void(const QString &)>;

    clTabellenCache(Dialogs &dialogs, Clipboard &clipboard);
    ~clTabellenCache();
    clTabellenCache(const clTabellenCache &) = delete;
    clTabellenCache &operator=(const clTabellenCache &) = delete;

    // Opens the cache file, or with `neu` starts a new, empty one in its place.
    bool init(const QString &pfad, bool neu, Statusanzeige status);

    // Copies the rows of `quelle` into a new table of that name (an old one
    // goes first), with the primary key over `schluessel` and a search index
    // over each of the comma-separated `indexfelder` (for "*…*" searches).
    // With `direkt` the rows come from there instead, the fields from `quelle`.
    bool ADDRecordset(Recordset &quelle, const QString &tabelle, const QString &schluessel,
                      const QString &indexfelder, Zeilenleser *direkt = nullptr);
    // The same with the rows of `zeilen` into columns named, typed and sized
    // as `spalten` say.
    bool ADDZeilen(const Fields &spalten, const QString &tabelle, const QString &schluessel,
                   const QString &indexfelder, Zeilenleser &zeilen);

    // The rows of the table whose search fields contain the value; nothing
    // after an error (shown, with the statement on the clipboard).
    std::unique_ptr<Recordset> Suche(const QString &tabelle, const QString &suchfelder,
                                     const QString &ergebnisfelder, const QString &suchwert,
                                     const QString &verknuepfung, bool nurErstesFeld);

    // The company of the contact with that id in the table; empty when
    // there is none or it cannot be read (nothing is shown).
    QString Firma(const QString &tabelle, const QString &uniqueId);

    QDateTime Tabellendatum(const QString &tabelle);
    // Days since the table was made, with the fraction of the day.
    double Tabellenalter(const QString &tabelle);
    // All tables of the file, system tables included.
    int Tabellenanzahl();
    bool istOffen() const;

    // The statement Suche runs, as text.
    static QString Anweisung(const QString &tabelle, const QString &suchfelder, const QString &ergebnisfelder,
                             const QString &suchwert, const QString &verknuepfung, bool nurErstesFeld);
    // Whether the file at `pfad` holds a table of exactly that name; false
    // for a missing or unreadable file.
    static bool TabelleVorhanden(const QString &pfad, const QString &tabelle);
    static QString Statuskennung();
    // The statement Suche runs for digits searched in every field: the
    // trigram lookup and the pattern as parameters, for each field in turn.
    static QString Ziffernanweisung(const QString &tabelle, const QString &suchfelder,
                                    const QString &ergebnisfelder);
    // The trigram lookup of that statement for these digits: the trigrams
    // rarest in a sample of the fields' rows.
    QString Ziffernabfrage(const QString &tabelle, const QString &suchfelder, const QString &ziffern);

private:
    // With `direkt` the rows come from there, else from `quelle`.
    bool aufbauen(const Fields &spalten, const QString &tabelle, const QString &schluessel,
                  const QString &indexfelder, Zeilenleser *direkt, Recordset *quelle);
    void status(const QString &text);
    void schliessen();
    Database &datenbank();
    void initFehler(long nummer, const QString &beschreibung);
    void importFehler(const QString &schritt, const QString &feld, const JetFehler &fehler);

    Dialogs &m_dialogs;
    Clipboard &m_clipboard;
    Statusanzeige m_status;
    QString m_pfad;
    std::shared_ptr<Database> m_db;
    // Digit statements that could not be made on this file.
    QSet<QString> m_ohneZiffernanweisung;
    // Counts of trigrams in rows spread over the table, taken once for each
    // set of searched fields while the file is open.
    const Trigrammzahlen &stichprobe(const QString &tabelle, const QString &suchfelder);
    QHash<QString, Trigrammzahlen> m_stichproben;
};
