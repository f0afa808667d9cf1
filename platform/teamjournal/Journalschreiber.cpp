#include "platform/teamjournal/Journalschreiber.h"

#include "platform/teamjournal/DiagnoseTeam.h"
#include "platform/teamjournal/Journalschema.h"

#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

Journalschreiber::Journalschreiber(QObject *parent)
    : QObject(parent)
{
    m_wiederholung.setSingleShot(true);
    connect(&m_wiederholung, &QTimer::timeout, this, &Journalschreiber::versuchen);
}

void Journalschreiber::setZugang(const Teamzugang &zugang)
{
    m_zugang = zugang;
    m_db.schliessen();
    m_schemaGeprueft = false;
    m_warten = m_ersteWiederholung;
    versuchen();
}

void Journalschreiber::beenden()
{
    m_wiederholung.stop();
    m_db.schliessen();
}

QByteArray Journalschreiber::EinfuegenSql()
{
    return "INSERT INTO rufmon_anrufe (anruf_id, zeit, arbeitsplatz, leitung, nummer, angerufen, ort, kontakt_id,"
           " kontakt_name, firma, erkannt, angenommen, dauer, nachgetragen)"
           " VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, $14)"
           " ON CONFLICT (anruf_id) DO NOTHING";
}

QByteArray Journalschreiber::AusgangSql()
{
    return "INSERT INTO rufmon_anrufausgang (anruf_id, angenommen, dauer) VALUES ($1, $2, $3)"
           " ON CONFLICT (anruf_id) DO NOTHING";
}

QVariantList Journalschreiber::Werte(const Journalzeile &z)
{
    return {z.anrufId,
            z.zeit.toUTC().toString(Qt::ISODateWithMs),
            z.arbeitsplatz,
            z.leitung,
            z.nummer,
            z.angerufen,
            z.ort,
            z.kontaktId,
            z.kontaktName,
            z.firma,
            z.erkannt,
            z.angenommen ? QVariant(*z.angenommen) : QVariant(),
            z.dauer >= 0 ? QVariant(z.dauer) : QVariant(),
            z.nachgetragen};
}

void Journalschreiber::schreibe(const QList<Journalzeile> &zeilen)
{
    // A row already waiting is not queued twice.
    // A row already waiting is not queued twice; what became of the call
    // joins it when it is known.
    QHash<QString, qsizetype> da;
    for (qsizetype i = 0; i < m_offen.size(); ++i)
        da.insert(m_offen[i].anrufId, i);
    for (const Journalzeile &z : zeilen) {
        const auto it = da.constFind(z.anrufId);
        if (it == da.constEnd()) {
            da.insert(z.anrufId, m_offen.size());
            m_offen.append(z);
        } else if (z.angenommen) {
            m_offen[*it].angenommen = z.angenommen;
            m_offen[*it].dauer = z.dauer;
        }
    }
    if (!m_wiederholung.isActive())
        versuchen();
}

bool Journalschreiber::verbinden()
{
    if (m_db.offen())
        return true;
    if (!m_zugang.eingerichtet())
        return false;
    QString fehler;
    if (!m_db.oeffnen(m_zugang, 5, &fehler, &m_abbruch)) {
        if (m_abbruch)
            return false;
        spaeter(fehler);
        return false;
    }
    if (!m_schemaGeprueft) {
        if (!Journalschema::einrichten(m_db, &fehler)) {
            m_db.schliessen();
            spaeter(u"Tabellen fehlen oder sind veraltet: "_s + fehler);
            return false;
        }
        m_schemaGeprueft = true;
    }
    m_warten = m_ersteWiederholung;
    emit zustand(true, u"Team-Journal %1: verbunden%2"_s.arg(
                           m_zugang.anzeige(), m_db.verschluesselt() ? u" (verschlüsselt)"_s : QString()));
    return true;
}

void Journalschreiber::spaeter(const QString &grund)
{
    qCInfo(lcTeam).noquote() << u"Team-Journal %1 nicht erreichbar: %2"_s.arg(m_zugang.anzeige(), grund);
    const QString wartend = m_offen.isEmpty() ? QString() : u"; %1 Anrufe warten"_s.arg(m_offen.size());
    emit zustand(false, u"Team-Journal %1 nicht erreichbar: %2%3"_s.arg(m_zugang.anzeige(), grund, wartend));
    m_wiederholung.start(m_warten);
    m_warten = std::min(m_warten * 2, LaengsteWiederholungMs);
}

void Journalschreiber::versuchen()
{
    if (!m_zugang.eingerichtet() || !verbinden() || m_offen.isEmpty())
        return;
    // A batch at a time: what came during an outage goes in a few transactions.
    const QList<Journalzeile> stapel = m_offen.mid(0, 500);
    const auto fehlschlag = [this](const PgVerbindung::Ergebnis &e) {
        m_db.ausfuehren("ROLLBACK");
        m_db.schliessen();
        spaeter(e.fehler);
    };
    PgVerbindung::Ergebnis e = m_db.ausfuehren("BEGIN");
    if (!e.ok)
        return fehlschlag(e);
    QStringList ids;
    QStringList mitAusgang;
    QSet<QString> plaetze;
    for (const Journalzeile &z : stapel) {
        if (e = m_db.ausfuehren(EinfuegenSql(), Werte(z)); !e.ok)
            return fehlschlag(e);
        if (z.angenommen) {
            if (e = m_db.ausfuehren(AusgangSql(), {z.anrufId, *z.angenommen, z.dauer >= 0 ? QVariant(z.dauer) : QVariant()});
                !e.ok)
                return fehlschlag(e);
            mitAusgang.append(z.anrufId);
        }
        ids.append(z.anrufId);
        plaetze.insert(z.arbeitsplatz);
    }
    // The other desks' windows hear of it when the rows are there (at commit).
    for (const QString &platz : std::as_const(plaetze)) {
        if (e = m_db.ausfuehren("SELECT pg_notify('rufmon_anrufe', $1)", {platz}); !e.ok)
            return fehlschlag(e);
    }
    if (e = m_db.ausfuehren("COMMIT"); !e.ok)
        return fehlschlag(e);
    m_offen.remove(0, stapel.size());
    emit geschrieben(ids, mitAusgang);
    if (!m_offen.isEmpty())
        QTimer::singleShot(0, this, &Journalschreiber::versuchen);
}
