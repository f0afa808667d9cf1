#include "core/Anruferliste.h"

#include <limits>

Anruferliste::Anruferliste(QObject *parent)
    : QObject(parent)
{
}

Anruferliste::~Anruferliste() = default;

quint32 Anruferliste::textNr(const QString &text)
{
    if (text.isEmpty())
        return 0;
    auto it = m_textNr.constFind(text);
    if (it != m_textNr.constEnd())
        return *it;
    const auto nr = static_cast<quint32>(m_texte.size());
    m_texte.append(text);
    m_textNr.insert(text, nr);
    return nr;
}

void Anruferliste::uebernehmen(Eintrag &e, const Anruf &a)
{
    const QString nummer = a.nummer.left(std::numeric_limits<quint16>::max());
    if (e.nummerLaenge != nummer.size() || !std::equal(nummer.cbegin(), nummer.cend(), m_ziffern.cbegin() + e.nummer)) {
        e.nummer = static_cast<quint32>(m_ziffern.size());
        e.nummerLaenge = static_cast<quint16>(nummer.size());
        m_ziffern.insert(m_ziffern.end(), nummer.cbegin(), nummer.cend());
    }
    e.ort = textNr(a.ort);
    e.name = textNr(a.name);
    e.kontaktId = textNr(a.kontaktId);
    e.angerufen = textNr(a.angerufen);
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
    a.nummer = QString(m_ziffern.data() + e.nummer, e.nummerLaenge);
    a.ort = m_texte[e.ort];
    a.name = m_texte[e.name];
    a.kontaktId = m_texte[e.kontaktId];
    a.angerufen = m_texte[e.angerufen];
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

void Anruferliste::ladenBeginnen()
{
    m_erster += m_eintraege.size();
    m_eintraege.clear();
    m_ziffern.clear();
    m_texte = {QString()};
    m_textNr.clear();
}

void Anruferliste::laden(const Anruf &anruf)
{
    uebernehmen(m_eintraege.emplace_back(), anruf);
}

void Anruferliste::ladenBeenden()
{
    m_ziffern.shrink_to_fit();
    emit Ersetzt();
}

void Anruferliste::ersetzen(const std::vector<Anruf> &anrufe)
{
    ladenBeginnen();
    for (const Anruf &a : anrufe)
        laden(a);
    ladenBeenden();
}

void Anruferliste::leeren()
{
    ersetzen({});
}
