#include "platform/teamjournal/Journalleser.h"

#include "platform/teamjournal/DiagnoseTeam.h"

#include <QSocketNotifier>

using namespace Qt::StringLiterals;

namespace {

// A search text is a part of a value: its own % and _ mean themselves.
QString musterAus(const QString &text)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    t.replace(u'\\', u"\\\\"_s);
    t.replace(u'%', u"\\%"_s);
    t.replace(u'_', u"\\_"_s);
    return u'%' + t + u'%';
}

} // namespace

Journalleser::Journalleser(QObject *parent)
    : QObject(parent)
{
    m_wiederholung.setSingleShot(true);
    m_wiederholung.setInterval(5000);
    connect(&m_wiederholung, &QTimer::timeout, this, [this] {
        if (verbinden())
            emit neu();
    });
}

Journalleser::~Journalleser() = default;

void Journalleser::setZugang(const Teamzugang &zugang)
{
    m_zugang = zugang;
    m_horcher.reset();
    m_db.schliessen();
    verbinden();
}

void Journalleser::beenden()
{
    m_wiederholung.stop();
    m_horcher.reset();
    m_db.schliessen();
}

bool Journalleser::verbinden()
{
    if (m_db.offen())
        return true;
    m_horcher.reset();
    if (!m_zugang.eingerichtet())
        return false;
    QString fehler;
    if (!m_db.oeffnen(m_zugang, 5, &fehler, &m_abbruch)) {
        if (m_abbruch)
            return false;
        emit zustand(false, u"Team-Journal %1 nicht erreichbar: %2"_s.arg(m_zugang.anzeige(), fehler));
        m_wiederholung.start();
        return false;
    }
    const PgVerbindung::Ergebnis e = m_db.ausfuehren("LISTEN rufmon_anrufe");
    if (!e.ok) {
        m_db.schliessen();
        emit zustand(false, e.fehler);
        m_wiederholung.start();
        return false;
    }
    m_horcher = std::make_unique<QSocketNotifier>(m_db.socket(), QSocketNotifier::Read);
    connect(m_horcher.get(), &QSocketNotifier::activated, this, &Journalleser::lesen);
    emit zustand(true, u"Team-Journal %1: verbunden"_s.arg(m_zugang.anzeige()));
    return true;
}

void Journalleser::lesen()
{
    const QStringList gekommen = m_db.benachrichtigungen();
    if (!m_db.offen()) {
        // The server went away: the socket is dead, a new connection is tried later.
        m_horcher.reset();
        m_db.schliessen();
        emit zustand(false, u"Team-Journal %1: Verbindung verloren"_s.arg(m_zugang.anzeige()));
        m_wiederholung.start();
        return;
    }
    if (!gekommen.isEmpty())
        emit neu();
}

QByteArray Journalleser::AbfrageSql()
{
    return "SELECT a.anruf_id, (extract(epoch FROM a.zeit) * 1000)::bigint, a.arbeitsplatz, a.leitung, a.nummer,"
           " a.angerufen, a.ort, a.kontakt_id, a.kontakt_name, a.firma, a.erkannt,"
           " coalesce(a.angenommen, o.angenommen), coalesce(a.dauer, o.dauer), a.nachgetragen"
           " FROM rufmon_anrufe a LEFT JOIN rufmon_anrufausgang o ON o.anruf_id = a.anruf_id"
           " WHERE a.zeit >= $1"
           " AND ($2 = '' OR a.arbeitsplatz = $2)"
           " AND (NOT $3::boolean OR coalesce(a.angenommen, o.angenommen) IS FALSE)"
           " AND ($4 = '' OR a.nummer ILIKE $4 OR a.angerufen ILIKE $4 OR a.ort ILIKE $4"
           " OR a.kontakt_name ILIKE $4 OR a.firma ILIKE $4)"
           " ORDER BY a.zeit DESC LIMIT $5";
}

QByteArray Journalleser::ArbeitsplaetzeSql()
{
    // The desks of the period asked for, quick on the index even on a long journal.
    return "SELECT DISTINCT arbeitsplatz FROM rufmon_anrufe WHERE zeit >= $1 ORDER BY 1";
}

QVariantList Journalleser::Werte(const Teamfilter &f, const QDateTime &jetzt)
{
    const QDateTime ab = jetzt.addDays(-std::max(1, f.tage));
    return {ab.toUTC().toString(Qt::ISODateWithMs), f.arbeitsplatz, f.nurVerpasste, musterAus(f.suchtext),
            std::max(1, f.hoechstens)};
}

QList<Journalzeile> Journalleser::zeilen(const PgVerbindung::Ergebnis &ergebnis)
{
    QList<Journalzeile> liste;
    liste.reserve(ergebnis.zeilen.size());
    for (const QList<QVariant> &r : ergebnis.zeilen) {
        Journalzeile z;
        z.anrufId = r.value(0).toString();
        z.zeit = QDateTime::fromMSecsSinceEpoch(r.value(1).toString().toLongLong());
        z.arbeitsplatz = r.value(2).toString();
        z.leitung = r.value(3).toString();
        z.nummer = r.value(4).toString();
        z.angerufen = r.value(5).toString();
        z.ort = r.value(6).toString();
        z.kontaktId = r.value(7).toString();
        z.kontaktName = r.value(8).toString();
        z.firma = r.value(9).toString();
        z.erkannt = r.value(10).toString() == u"t";
        if (!r.value(11).isNull())
            z.angenommen = r.value(11).toString() == u"t";
        z.dauer = r.value(12).isNull() ? -1 : r.value(12).toString().toInt();
        z.nachgetragen = r.value(13).toString() == u"t";
        liste.append(z);
    }
    return liste;
}

void Journalleser::abfragen(const Teamfilter &filter)
{
    if (!verbinden())
        return;
    const QDateTime jetzt = QDateTime::currentDateTime();
    const PgVerbindung::Ergebnis e = m_db.ausfuehren(AbfrageSql(), Werte(filter, jetzt));
    if (!e.ok) {
        m_horcher.reset();
        m_db.schliessen();
        emit zustand(false, u"Team-Journal %1: %2"_s.arg(m_zugang.anzeige(), e.fehler));
        m_wiederholung.start();
        return;
    }
    const PgVerbindung::Ergebnis p = m_db.ausfuehren(ArbeitsplaetzeSql(), {Werte(filter, jetzt).value(0)});
    QStringList plaetze;
    for (const auto &r : p.zeilen)
        plaetze.append(r.value(0).toString());
    emit ergebnis(zeilen(e), plaetze);
}
