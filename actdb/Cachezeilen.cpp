#include "actdb/Cachezeilen.h"

#include "core/Nummernschluessel.h"
#include "platform/jet/JetFehler.h"
#include "platform/xbase/DbfField.h"
#include "platform/xbase/DbfTable.h"

using namespace Qt::StringLiterals;

namespace {

// Enough to keep both threads busy; small enough to hold next to nothing.
constexpr std::size_t ZeilenJeStapel = 512;
constexpr std::size_t StapelAnzahl = 3;

} // namespace

Cachezeilen::Cachezeilen() = default;

Cachezeilen::~Cachezeilen()
{
    {
        const std::lock_guard lock(m_mutex);
        m_abbrechen = true;
    }
    m_bereit.notify_all();
    if (m_leser.joinable())
        m_leser.join();
}

std::unique_ptr<Cachezeilen> Cachezeilen::oeffnen(const QString &datei, const QStringList &telefonfelder,
                                                  const std::string &heimat, bool mitSchluesseln)
{
    std::unique_ptr<Cachezeilen> z(new Cachezeilen);
    z->m_tabelle = std::make_unique<DbfTable>();
    if (!z->m_tabelle->open(datei))
        return nullptr;
    const auto position = [&z](const QString &feld) {
        const int i = z->m_tabelle->fieldIndex(feld);
        // Number, date and memo fields read differently through the statement.
        return i >= 0 && z->m_tabelle->fields()[std::size_t(i)].type == 'C' ? i : -1;
    };
    for (const QString &feld : telefonfelder) {
        z->m_telefon.push_back(position(feld));
        if (z->m_telefon.back() < 0)
            return nullptr;
    }
    for (const QString &feld : {u"NAME"_s, u"COMPANY"_s, u"CITY"_s, u"UNIQUE_ID"_s}) {
        z->m_weitere.push_back(position(feld));
        if (z->m_weitere.back() < 0)
            return nullptr;
    }
    z->m_heimat = heimat;
    z->m_mitSchluesseln = mitSchluesseln;
    z->m_spalten = (mitSchluesseln ? 2 : 1) * z->m_telefon.size() + z->m_weitere.size();
    z->m_zeile.resize(z->m_spalten);
    z->m_anzahl = z->m_tabelle->recordCount();
    for (std::size_t i = 0; i < StapelAnzahl; ++i)
        z->m_leer.push_back(std::make_unique<struct Stapel>());
    z->m_tabelle->rewind();
    z->m_leser = std::thread([p = z.get()] { p->lesen(); });
    return z;
}

void Cachezeilen::lesen()
{
    DbfTable &tabelle = *m_tabelle;
    for (;;) {
        std::unique_ptr<Stapel> stapel;
        {
            std::unique_lock lock(m_mutex);
            m_bereit.wait(lock, [this] { return m_abbrechen || !m_leer.empty(); });
            if (m_abbrechen)
                return;
            stapel = std::move(m_leer.back());
            m_leer.pop_back();
        }
        stapel->daten.clear();
        stapel->werte.clear();
        stapel->zeilen = 0;
        const auto text = [&stapel](std::string_view wert) {
            stapel->werte.emplace_back(stapel->daten.size(), std::ptrdiff_t(wert.size()));
            stapel->daten.append(wert);
        };
        const auto null = [&stapel] { stapel->werte.emplace_back(0, -1); };
        bool weiter = true;
        while (stapel->zeilen < ZeilenJeStapel && (weiter = tabelle.next())) {
            for (const int feld : m_telefon) {
                const DbfValue wert = tabelle.value(feld);
                if (wert.kind != DbfValue::Kind::Text) {
                    // An empty field is Null, and so is its key, as in the statement.
                    null();
                    if (m_mitSchluesseln)
                        null();
                    continue;
                }
                text(wert.bytes);
                if (m_mitSchluesseln)
                    text(Nummernschluessel::schluesselUtf8(wert.bytes, m_heimat));
            }
            for (const int feld : m_weitere) {
                const DbfValue wert = tabelle.value(feld);
                if (wert.kind == DbfValue::Kind::Text)
                    text(wert.bytes);
                else
                    null();
            }
            ++stapel->zeilen;
        }
        {
            const std::lock_guard lock(m_mutex);
            if (stapel->zeilen > 0)
                m_voll.push_back(std::move(stapel));
            if (!weiter) {
                m_fertig = true;
                if (tabelle.hasError())
                    m_fehler = tabelle.errorString();
            }
        }
        m_bereit.notify_all();
        if (!weiter)
            return;
    }
}

const Verbindung::Textzeile *Cachezeilen::naechste()
{
    if (!m_stapel || m_naechste == m_stapel->zeilen) {
        std::unique_lock lock(m_mutex);
        if (m_stapel)
            m_leer.push_back(std::move(m_stapel));
        m_bereit.notify_all();
        m_bereit.wait(lock, [this] { return !m_voll.empty() || m_fertig; });
        if (m_voll.empty()) {
            if (!m_fehler.isEmpty())
                throw JetFehler(JetFehler::DateiBeschaedigt, m_fehler);
            return nullptr;
        }
        m_stapel = std::move(m_voll.front());
        m_voll.pop_front();
        m_naechste = 0;
    }
    const std::size_t erster = m_naechste * m_spalten;
    for (std::size_t i = 0; i < m_spalten; ++i) {
        const auto &[anfang, laenge] = m_stapel->werte[erster + i];
        if (laenge < 0)
            m_zeile[i].reset();
        else
            m_zeile[i] = std::string_view(m_stapel->daten.data() + anfang, std::size_t(laenge));
    }
    ++m_naechste;
    return &m_zeile;
}
