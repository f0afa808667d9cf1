#pragma once

#include "actdb/Kontaktscan.h"

#include <QString>

#include <memory>
#include <optional>

class Clipboard;
class Database;
class Dialogs;
class Recordset;
class Zeilenleser;
class modOptionen;

// SQL access to the tables of the ACT! database: opens the folder of the
// contact table through the dBASE driver and builds the searches over it.
class clActDBF
{
public:
    clActDBF(Dialogs &dialogs, Clipboard &clipboard, const modOptionen &optionen);
    ~clActDBF();

    bool init(const QString &Datenbankpfad);
    void kill();
    bool istOffen() const;

    // The rows whose search fields contain the value, with the search fields,
    // the result fields and UNIQUE_ID; nothing after an error (shown). The
    // records the file holds for it come from `vorab` when given (see
    // Vorauswahl), else from a read of the file of its own.
    std::unique_ptr<Recordset> Suche(const QString &Suchfelder, const QString &Ergebnisfelder,
                                     const QString &Suchwert, const QString &Verknuepfung, bool nurErstesFeld,
                                     const Kontaktscan::Zeilen *vorab = nullptr);
    // The company of the contact with that id; empty when there is none or
    // the table cannot be read (nothing is shown: the caller can do without).
    QString Firma(const QString &uniqueId);
    long SucheMaxWert(const QString &Feld, const QString &Tabellentyp, const QString &Praefix);
    long getRecordcount(const QString &Feld, const QString &Tabellentyp);

    const QString &Ordner() const { return m_ordner; }
    const QString &Tabellenname() const { return m_tabelle; }

    // The second search: contacts whose key of a phone field holds the
    // caller's key (numbers as people write them: blanks, "+49", brackets).
    std::unique_ptr<Recordset> SchluesselSuche(const QString &Suchfelder, const QString &Ergebnisfelder,
                                               const QString &schluessel, const Kontaktscan::Zeilen *vorab = nullptr);
    // The records of both searches from one read of the file: the literal
    // search's (with `nurErster`, its first alone) and the key search's.
    Kontaktscan::Treffer Vorauswahl(const QString &Suchfelder, const QString &Suchwert, const QString &schluessel,
                                    bool nurErster) const;
    // The rows for the number cache: the phone fields, each with its key
    // (column name from Schluesselfeld) if asked for, name, company, city and id.
    std::unique_ptr<Recordset> Cachequelle(const QString &Telefonfelder, bool mitSchluesseln = true);
    // The same rows read straight from the file, many times faster; nothing
    // where only the statement can read them.
    std::unique_ptr<Zeilenleser> Cachezeilen(const QString &Telefonfelder, bool mitSchluesseln = true) const;
    // The cache column that holds a phone field's key.
    static QString Schluesselfeld(const QString &feld);
    static QString Schluesselfelder(const QString &Telefonfelder);
    // The home country's code of the regional settings, and a written number's key read in it.
    static QString Heimatvorwahl();
    static QString Schluessel(const QString &geschrieben);

    // The statement Suche runs, as text.
    static QString Anweisung(const QString &tabelle, const QString &Suchfelder, const QString &Ergebnisfelder,
                             const QString &Suchwert, const QString &Verknuepfung, bool nurErstesFeld);
    // The statement's parts: up to and with FROM, and the condition (none: every row).
    static QString Anweisungsteile(const QString &tabelle, const QString &Suchfelder, const QString &Ergebnisfelder,
                                   const QString &Suchwert, const QString &Verknuepfung, bool nurErstesFeld,
                                   std::optional<QString> &bedingung);
    // A value as a LIKE pattern: letters match either case, and every other
    // character only itself.
    static QString Suchmuster(const QString &wert);
    // The comma-separated entries of a field list, trimmed.
    static QStringList Eintraege(const QString &liste);
    // True when the field list names no field at all (a search over it
    // would have no condition and return every row).
    static bool OhneFelder(const QString &liste);
    static QString Klassenname();

private:
    QString Endung(const QString &tabellentyp);
    std::unique_ptr<Recordset> oeffne(const QString &sql);
    // The statement over the records the file holds for it, when they are
    // known; again over every row when the file changed since its read.
    std::unique_ptr<Recordset> oeffneNur(const QString &auswahl, const QString &bedingung,
                                         const Kontaktscan::Zeilen &zeilen);
    void oeffnenFehlgeschlagen(long nummer, const QString &hilfe, const QString &beschreibung);

    Dialogs &m_dialogs;
    Clipboard &m_clipboard;
    const modOptionen &m_optionen;
    QString m_ordner;
    QString m_tabelle;
    QString m_datei;
    std::shared_ptr<Database> m_db;
};
