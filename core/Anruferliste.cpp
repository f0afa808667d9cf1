#include "core/Anruferliste.h"

Anruferliste::Anruferliste(QObject *parent)
    : QObject(parent)
{
}

Anruferliste::~Anruferliste() = default;

void Anruferliste::uebernehmen(Eintrag &e, const Anruf &a)
{
    e.nummer = a.nummer;
    e.ort = a.ort;
    e.name = a.name;
    e.kontaktId = a.kontaktId;
    e.angerufen = a.angerufen;
    e.zeit = a.zeit;
    e.dauer = a.dauer;
    e.bild = static_cast<quint8>(a.bild);
    e.ergebnis = static_cast<quint8>(a.ergebnis);
    e.nachgetragen = a.nachgetragen;
    e.verpasst = a.verpasst;
}

quint64 Anruferliste::hinzufuegen(const Anruf &anruf)
{
    const quint64 schluessel = m_erster + m_eintraege.size();
    Eintrag &e = m_eintraege.emplace_back();
    uebernehmen(e, anruf);
    e.ganz = std::make_unique<Anruf>(anruf);
    e.ganz->eintrag = schluessel;
    emit Hinzugefuegt(schluessel);
    return schluessel;
}

void Anruferliste::aktualisieren(const Anruf &anruf)
{
    const int stelle = Stelle(anruf.eintrag);
    if (stelle < 0)
        return;
    Eintrag &e = m_eintraege[stelle];
    uebernehmen(e, anruf);
    if (e.ganz)
        *e.ganz = anruf;
    else
        e.ganz = std::make_unique<Anruf>(anruf);
    emit Geaendert(anruf.eintrag);
}

int Anruferliste::Stelle(quint64 eintrag) const
{
    if (eintrag < m_erster || eintrag - m_erster >= m_eintraege.size())
        return -1;
    return static_cast<int>(eintrag - m_erster);
}

bool Anruferliste::enthaelt(quint64 eintrag) const
{
    return Stelle(eintrag) >= 0;
}

Anruf Anruferliste::anruf(quint64 eintrag) const
{
    const int stelle = Stelle(eintrag);
    return stelle < 0 ? Anruf() : an(stelle);
}

Anruf Anruferliste::an(int stelle) const
{
    const Eintrag &e = m_eintraege[stelle];
    if (e.ganz)
        return *e.ganz;
    Anruf a;
    a.nummer = e.nummer;
    a.ort = e.ort;
    a.name = e.name;
    a.kontaktId = e.kontaktId;
    a.angerufen = e.angerufen;
    a.zeit = e.zeit;
    a.dauer = e.dauer;
    a.bild = e.bild;
    a.ergebnis = static_cast<Anruf::Ergebnis>(e.ergebnis);
    a.nachgetragen = e.nachgetragen;
    a.verpasst = e.verpasst;
    a.eintrag = Schluessel(stelle);
    return a;
}

quint64 Anruferliste::ZuletztHinzugefuegt() const
{
    return m_eintraege.empty() ? 0 : Schluessel(Anzahl() - 1);
}

void Anruferliste::ersetzen(std::vector<Anruf> anrufe)
{
    m_erster += m_eintraege.size();
    m_eintraege.clear();
    for (const Anruf &a : anrufe)
        uebernehmen(m_eintraege.emplace_back(), a);
    emit Ersetzt();
}

void Anruferliste::leeren()
{
    ersetzen({});
}
