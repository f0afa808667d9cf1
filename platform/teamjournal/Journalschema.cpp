#include "platform/teamjournal/Journalschema.h"

#include "platform/teamjournal/PgVerbindung.h"

using namespace Qt::StringLiterals;

namespace {

// Two desks starting at once upgrade one after the other.
constexpr const char *Sperre = "SELECT pg_advisory_xact_lock(727384021)";

} // namespace

QList<QByteArrayList> Journalschema::Schritte()
{
    return {
        {
            "CREATE TABLE rufmon_anrufe ("
            " anruf_id text PRIMARY KEY,"
            " zeit timestamptz NOT NULL,"
            " arbeitsplatz text NOT NULL,"
            " leitung text NOT NULL DEFAULT '',"
            " nummer text NOT NULL DEFAULT '',"
            " angerufen text NOT NULL DEFAULT '',"
            " ort text NOT NULL DEFAULT '',"
            " kontakt_id text NOT NULL DEFAULT '',"
            " kontakt_name text NOT NULL DEFAULT '',"
            " firma text NOT NULL DEFAULT '',"
            " erkannt boolean NOT NULL,"
            " angenommen boolean,"
            " dauer integer,"
            " nachgetragen boolean NOT NULL DEFAULT false,"
            " eingetragen timestamptz NOT NULL DEFAULT now())",
            "CREATE INDEX rufmon_anrufe_zeit ON rufmon_anrufe (zeit DESC)",
            "CREATE INDEX rufmon_anrufe_platz_zeit ON rufmon_anrufe (arbeitsplatz, zeit DESC)",
            // What became of a call is known only when it has ended; it is a
            // row of its own, so that writing never needs more than INSERT.
            "CREATE TABLE rufmon_anrufausgang ("
            " anruf_id text PRIMARY KEY,"
            " angenommen boolean NOT NULL,"
            " dauer integer)",
        },
    };
}

int Journalschema::Version(PgVerbindung &db, QString *fehler)
{
    const PgVerbindung::Ergebnis da = db.ausfuehren("SELECT to_regclass('rufmon_schema') IS NOT NULL");
    if (!da.ok) {
        if (fehler)
            *fehler = da.fehler;
        return -1;
    }
    if (da.zeilen.value(0).value(0).toString() != u"t")
        return 0;
    const PgVerbindung::Ergebnis v = db.ausfuehren("SELECT coalesce(max(version), 0) FROM rufmon_schema");
    if (!v.ok) {
        if (fehler)
            *fehler = v.fehler;
        return -1;
    }
    return v.zeilen.value(0).value(0).toInt();
}

bool Journalschema::einrichten(PgVerbindung &db, const QList<QByteArrayList> &schritte, QString *fehler)
{
    const int ziel = static_cast<int>(schritte.size());
    int version = Version(db, fehler);
    if (version < 0)
        return false;
    if (version >= ziel)
        return true;

    const auto abbruch = [&](const PgVerbindung::Ergebnis &e) {
        if (fehler)
            *fehler = e.fehler;
        db.ausfuehren("ROLLBACK");
        return false;
    };
    PgVerbindung::Ergebnis e = db.ausfuehren("BEGIN");
    if (!e.ok)
        return abbruch(e);
    if (e = db.ausfuehren(Sperre); !e.ok)
        return abbruch(e);
    if (e = db.ausfuehren("CREATE TABLE IF NOT EXISTS rufmon_schema (version integer NOT NULL)"); !e.ok)
        return abbruch(e);
    // Another desk may have upgraded while this one waited for the lock.
    version = Version(db, fehler);
    if (version < 0)
        return abbruch({false, fehler ? *fehler : QString(), {}, {}, 0});
    for (int n = version; n < ziel; ++n) {
        for (const QByteArray &sql : schritte[n]) {
            if (e = db.ausfuehren(sql); !e.ok)
                return abbruch(e);
        }
    }
    if (e = db.ausfuehren("DELETE FROM rufmon_schema"); !e.ok)
        return abbruch(e);
    if (e = db.ausfuehren("INSERT INTO rufmon_schema (version) VALUES ($1)", {ziel}); !e.ok)
        return abbruch(e);
    if (e = db.ausfuehren("COMMIT"); !e.ok)
        return abbruch(e);
    return true;
}
