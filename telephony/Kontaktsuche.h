#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class ACTPruefung;
class Clipboard;
class Dialogs;
class Recordset;
class Telefonfeldliste;
class clACTApplication;
class clActDBF;
class clTabellenCache;

// Where the caller identification and the similar-number search look for
// contacts: the number cache when it is used, else ACT!'s contact table once
// the periodic check found it ready; which phone fields are searched; and the
// cache file's place.
class Kontaktsuche
{
public:
    // A search of the number cache: the rows, and the cache that holds them
    // open; not usable when the cache file or its table is missing.
    struct Cachetreffer
    {
        bool nutzbar = false;
        std::shared_ptr<clTabellenCache> cache;
        std::unique_ptr<Recordset> treffer;

        Cachetreffer();
        Cachetreffer(Cachetreffer &&) noexcept;
        Cachetreffer &operator=(Cachetreffer &&) noexcept;
        ~Cachetreffer();
    };

    Kontaktsuche(Dialogs &dialogs, Clipboard &clipboard, clActDBF &actDBF, clACTApplication &actApp,
                 const ACTPruefung &pruefung);

    // The record of the phone fields; none: no field is chosen.
    void setTelefonfelder(const Telefonfeldliste *liste) { m_telefonfelder = liste; }
    // The chosen phone fields' column names, joined by ",".
    QString AusgewaehlteFelder() const;
    // A phone field's label; empty for a column that is none.
    QString Bezeichnung(const QString &feldname) const;

    const QString &CachePfad() const { return m_cachePfad; }
    void setCachePfad(const QString &pfad);
    Cachetreffer CacheSuchen(const QString &suchfelder, const QString &ergebnisfelder, const QString &wert,
                             const std::function<void(const QString &)> &status);

    enum class Cachebau { Erstellt, KeinACTZugriff, KeinCachezugriff, Fehlgeschlagen };
    // Builds the number cache anew from ACT!'s contact table: the chosen
    // phone fields with name, company and city of every contact.
    Cachebau CacheErstellen(const std::function<void(const QString &)> &status);

    bool ACTBereit() const;
    QString ACTDatenbank() const;
    // The table access the identification shares with the cache build.
    clActDBF &ActDBF() { return m_actDBF; }
    Clipboard &clipboard() { return m_clipboard; }

private:
    Dialogs &m_dialogs;
    Clipboard &m_clipboard;
    clActDBF &m_actDBF;
    clACTApplication &m_actApp;
    const ACTPruefung &m_pruefung;
    // The cache file as it was when it was opened: its size and times.
    struct Dateikennung
    {
        qint64 groesse = -1;
        QDateTime geaendert;
        QDateTime angelegt;
        bool operator==(const Dateikennung &) const = default;
    };
    static std::optional<Dateikennung> kennung(const QString &pfad);
    std::shared_ptr<clTabellenCache> offenerCache(const std::function<void(const QString &)> &status);

    const Telefonfeldliste *m_telefonfelder = nullptr;
    QString m_cachePfad;
    // Kept open between searches while the file is the one opened: opening
    // it reads its whole schema, which costs more than a search.
    std::shared_ptr<clTabellenCache> m_offen;
    Dateikennung m_offenKennung;
};
