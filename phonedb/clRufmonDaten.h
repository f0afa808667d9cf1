#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

struct Anruf;

class Anruferliste;
class Database;
class Dialogs;
class modOptionen;

// The program's own phone database: countries and area codes for naming a
// caller's place, the free list of numbers the user keeps by hand, and the
// caller list that survives restarts.
class clRufmonDaten
{
public:
    // The user's locale as an eight-digit hex text ("00000407" German, Germany).
    using LocaleQuelle = std::function<QString()>;

    clRufmonDaten(Dialogs &dialogs, const modOptionen &optionen, LocaleQuelle locale = {});
    ~clRufmonDaten();

    void init(const QString &Datenbankpfad);
    void kill();
    bool istOffen() const;
    const QString &Datenbankpfad() const { return m_pfad; }
    // The open database, for the free-list editor; null when none is open.
    std::shared_ptr<Database> Datenbank() const { return m_db; }

    // Splits a number into country code, area code and subscriber number and
    // names country and place. Errors of the country or free-list look-ups
    // reach the caller as JetFehler.
    void BestimmeVorwahlAnschlussOrtLand(const QString &Nummer, QString &Laendervorwahl, QString &Vorwahl,
                                         QString &Anschluss, QString &Land, QString &Ort);
    void SucheNameOrtAusFreierListe(const QString &Nummer, QString &Name, QString &Ort);

    // Appends a call as a row, in the columns of the caller list; false
    // after a failed step, which has shown its message.
    bool speichere(const Anruf &anruf);
    // Calls that arrive in a burst are stored in one transaction: rows
    // written between the two calls are committed together (and at most a
    // thousand at a time), so that storing keeps up with the line.
    void StapelBeginnen();
    void StapelBeenden();
    // Refills the caller list from the stored rows, in the order the table
    // gives them; errors reach the caller, the rows read before stay.
    void leseMDBinListview(Anruferliste &anrufe);
    // Deletes every row dated before today's midnight minus `Tage` days.
    void LoescheAnruferliste(int &Tage);

    static QString Klassenname();
    // The field of `Anrufspeicher` that keeps the number a call was for.
    static QString FeldAngerufen();

private:
    // Appends a row: the contact, the icon, and each column's text under its name.
    bool schreibeZeile(const QString &tag, int bild, const QList<std::pair<QString, QString>> &spalten,
                       const QString &angerufen);
    // A table of codes (country codes or area codes) held in memory: the
    // tables come with the program and are only read, and every call looks
    // them up several times.
    struct Verzeichnis
    {
        QHash<QString, QString> namen; // code -> country or place, first row wins
        int laengste = 0;
        int kuerzeste = 0;
    };

    void ergaenzeAngerufen();
    QString SucheOrtZuVorwahl(const QString &nummer, const QString &tabelle, QString &vorwahl);
    QString SucheLandZuVorwahl(const QString &nummer, QString &laendervorwahl);
    Verzeichnis lade(const QString &sql);
    static QString laengsterCode(const Verzeichnis &v, const QString &nummer, int mindestens, QString &code);

    Dialogs &m_dialogs;
    const modOptionen &m_optionen;
    LocaleQuelle m_locale;
    QString m_pfad;
    std::shared_ptr<Database> m_db;
    int m_stapelZeilen = -1; // rows of the open batch; -1: none open
    std::optional<Verzeichnis> m_laender;
    QHash<QString, Verzeichnis> m_vorwahlen; // by table name; empty for a missing table
};
