#pragma once

#include "core/Kontaktquelle.h"

#include <QDateTime>
#include <QMutex>

#include <functional>
#include <memory>
#include <optional>

class ActZugang;
class Clipboard;
class Dialogs;
class clTabellenCache;

// The number cache as a contact source in front of another: the searches
// run on its own copy of that source's phone values (each with its key),
// names, companies and cities. The file stays open between
// searches while it is the file that was opened (opening it reads its whole
// schema, which costs more than a search); one built anew, replaced or
// deleted meanwhile is opened again or found missing. Its place is set on
// the GUI thread, the searches and the build run on the search thread.
class CacheKontaktquelle : public Kontaktquelle
{
public:
    using Statusanzeige = std::function<void(const QString &)>;

    CacheKontaktquelle(Dialogs &dialogs, Clipboard &clipboard, const ActZugang &zugang);
    ~CacheKontaktquelle() override;

    QString Pfad() const;
    void setPfad(const QString &pfad);
    // Where the progress of opening the file is shown.
    void setStatus(Statusanzeige status);
    // The file is about to be made anew: let go of it.
    void schliessen();

    // KeinACTZugriff: the source could not be reached.
    enum class Bau { Erstellt, KeinACTZugriff, KeinCachezugriff, Fehlgeschlagen };
    // Builds the file anew from the contacts of `quelle`: the chosen phone
    // fields, each with its key, and name, company and city of every contact.
    Bau Erstellen(Kontaktquelle &quelle, const Statusanzeige &status);

    Oeffnung oeffnen() override;
    QString Suchmeldung() const override;
    // A copy is not copied again: nothing.
    std::unique_ptr<Kontaktbestand> bestand(const QStringList &telefonfelder) override;

private:
    struct Dateikennung
    {
        qint64 groesse = -1;
        QDateTime geaendert;
        QDateTime angelegt;
        bool operator==(const Dateikennung &) const = default;
    };
    static std::optional<Dateikennung> kennung(const QString &pfad);
    std::shared_ptr<clTabellenCache> offenerCache();
    Statusanzeige status() const;

    Dialogs &m_dialogs;
    Clipboard &m_clipboard;
    const ActZugang &m_zugang;
    mutable QMutex m_mutex; // over the members below
    Statusanzeige m_status;
    QString m_pfad;
    std::shared_ptr<clTabellenCache> m_offen;
    Dateikennung m_offenKennung;
};
