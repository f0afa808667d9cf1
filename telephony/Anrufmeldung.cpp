#include "telephony/Anrufmeldung.h"

#include "telephony/Anrufhinweis.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

const QString Unbekannt = u"Unbekannt"_s;
const QString OhneName = u"Keine Angaben im ACT!"_s;

bool angegeben(const QString &text)
{
    return !text.isEmpty() && text != Unbekannt;
}

} // namespace

Anrufmeldung::Anrufmeldung(Benachrichtigungen &dienst, QObject *parent)
    : QObject(parent)
    , m_dienst(dienst)
{
    connect(&dienst, &Benachrichtigungen::Gezeigt, this, &Anrufmeldung::gezeigt);
    connect(&dienst, &Benachrichtigungen::AktionGewaehlt, this, &Anrufmeldung::aktion);
    connect(&dienst, &Benachrichtigungen::Geschlossen, this, [this](uint id) { m_eintraege.remove(id); });
    m_gehaltenZeit.setSingleShot(true);
    connect(&m_gehaltenZeit, &QTimer::timeout, this, &Anrufmeldung::gehaltenZeigen);
}

QString Anrufmeldung::StandardAktion()
{
    // The name the desktop gives the click on a notification.
    return u"default"_s;
}

QString Anrufmeldung::KontaktAktion()
{
    return u"kontakt"_s;
}

QString Anrufmeldung::RueckrufAktion()
{
    return u"rueckruf"_s;
}

Benachrichtigungen::Meldung Anrufmeldung::Inhalt(const ::Anruf &anruf)
{
    Benachrichtigungen::Meldung m;
    const QString firma = anruf.firma.trimmed();
    // A contact without a name is better known by its company.
    if (angegeben(anruf.name) && !(anruf.name == OhneName && !firma.isEmpty()))
        m.titel = anruf.name;
    else if (!firma.isEmpty() && anruf.erkannt())
        m.titel = firma;
    else
        m.titel = u"Unbekannter Anrufer"_s;
    QStringList zeilen{anruf.nummer};
    if (angegeben(anruf.ort))
        zeilen << anruf.ort;
    if (!firma.isEmpty() && firma != m.titel)
        zeilen << firma;
    if (!anruf.angerufen.isEmpty())
        zeilen << Anrufhinweis::AngerufenText(anruf.angerufen);
    m.text = zeilen.join(u'\n');
    // A click on the notification shows the call in the caller list.
    m.aktionen.append({StandardAktion(), u"Anzeigen"_s});
    // Only a contact of ACT! has a card to show.
    if (anruf.erkannt())
        m.aktionen.append({KontaktAktion(), u"Kontakt anzeigen"_s});
    m.aktionen.append({RueckrufAktion(), u"Zurückrufen"_s});
    return m;
}

void Anrufmeldung::Melden(const ::Anruf &anruf)
{
    // A call from before the start is long over: nobody is to pick it up.
    if (!m_aktiv || anruf.nachgetragen)
        return;
    const auto laufend = m_anrufe.find(anruf.callId);
    if (laufend == m_anrufe.end()) {
        neu(anruf);
        return;
    }
    if (laufend->id == 0) {
        // The earlier state is not numbered yet: this one follows once it is.
        laufend->wartend = anruf;
        return;
    }
    sende(anruf, laufend->id);
}

void Anrufmeldung::neu(const ::Anruf &anruf)
{
    if (m_seitNeu.isValid() && m_seitNeu.elapsed() < m_mindestabstand.count()) {
        m_gehalten = anruf;
        if (!m_gehaltenZeit.isActive())
            m_gehaltenZeit.start(std::max<qint64>(0, m_mindestabstand.count() - m_seitNeu.elapsed()));
        return;
    }
    m_seitNeu.start();
    sende(anruf, 0);
    m_neuAuftrag = m_naechsterAuftrag - 1;
    m_neuId = 0;
}

void Anrufmeldung::gehaltenZeigen()
{
    if (!m_gehalten)
        return;
    // In place of the burst's earlier notification, once the desktop has numbered it.
    if (m_neuId == 0 && m_auftraege.contains(m_neuAuftrag)) {
        m_gehaltenZeit.start(m_mindestabstand);
        return;
    }
    const uint ersetzt = m_neuId;
    // The earlier call's later states get a notification of their own.
    m_anrufe.removeIf([ersetzt](const auto &l) { return ersetzt != 0 && l.value().id == ersetzt; });
    const ::Anruf anruf = *std::exchange(m_gehalten, std::nullopt);
    m_seitNeu.start();
    sende(anruf, ersetzt);
    m_neuAuftrag = m_naechsterAuftrag - 1;
    m_neuId = ersetzt;
}

void Anrufmeldung::sende(const ::Anruf &anruf, uint ersetzt)
{
    const quint64 auftrag = m_naechsterAuftrag++;
    Laufend &l = m_anrufe[anruf.callId];
    l.auftrag = auftrag;
    // A new one has no number until the desktop answers; a later state waits for it.
    l.id = ersetzt;
    m_auftraege.insert(auftrag, anruf);
    m_dienst.zeige(auftrag, Inhalt(anruf), ersetzt);
}

void Anrufmeldung::gezeigt(quint64 auftrag, uint id)
{
    const auto a = m_auftraege.constFind(auftrag);
    if (a == m_auftraege.cend())
        return;
    const ::Anruf anruf = *a;
    m_auftraege.erase(a);
    if (auftrag == m_neuAuftrag)
        m_neuId = id;
    m_eintraege.insert(id, anruf.eintrag);
    const auto laufend = m_anrufe.find(anruf.callId);
    if (laufend == m_anrufe.end() || laufend->auftrag != auftrag)
        return;
    laufend->id = id;
    if (laufend->wartend)
        sende(*std::exchange(laufend->wartend, std::nullopt), id);
}

void Anrufmeldung::Beendet(Anrufkennung anruf)
{
    m_anrufe.remove(anruf.id);
}

void Anrufmeldung::aktion(uint id, const QString &aktion)
{
    const auto eintrag = m_eintraege.constFind(id);
    if (eintrag == m_eintraege.cend())
        return;
    if (aktion == StandardAktion())
        emit Anzeigen(*eintrag);
    else if (aktion == KontaktAktion())
        emit KontaktAnzeigen(*eintrag);
    else if (aktion == RueckrufAktion())
        emit Zurueckrufen(*eintrag);
}
