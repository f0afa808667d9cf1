#pragma once

#include "actdb/clActDBF.h"
#include "core/Kontaktquelle.h"
#include "core/Nummernschluessel.h"

// An address book held in memory: contacts with their numbers as written.
// It searches as a source must (the number as written, then the key), and
// counts how often it was opened and how many searches are open.
class Kontaktliste : public Kontaktquelle
{
public:
    QList<Kontakt> kontakte;
    bool bereit = true;
    int geoeffnet = 0;
    int offen = 0;

    Oeffnung oeffnen() override
    {
        Oeffnung o;
        if (!bereit)
            return o;
        ++geoeffnet;
        o.zustand = Oeffnung::Zustand::Offen;
        o.lauf = std::make_unique<Lauf>(*this);
        return o;
    }
    QString Suchmeldung() const override { return QStringLiteral("Suche Kontakt im Adressbuch..."); }

private:
    class Lauf : public Kontaktsuchlauf
    {
    public:
        explicit Lauf(Kontaktliste &liste)
            : m_liste(liste)
        {
            ++m_liste.offen;
        }
        ~Lauf() override { --m_liste.offen; }

        Fund erster(const QString &nummer, const QString &schluessel) override
        {
            Fund f{true, {}};
            f.kontakt = suche([&](const QString &wert) { return wert.contains(nummer); });
            if (!f.kontakt && !schluessel.isEmpty())
                f.kontakt = suche([&](const QString &wert) { return schluesselVon(wert).contains(schluessel); });
            return f;
        }
        Aehnliche aehnliche(const QString &ziffern) override
        {
            Aehnliche a;
            a.gesucht = true;
            QSet<QString> gefunden;
            for (const Kontakt &k : std::as_const(m_liste.kontakte)) {
                for (const Telefonwert &t : k.telefon) {
                    if (t.wert.contains(ziffern)) {
                        a.treffer.append({k, t.feld, t.wert.section(u' ', 0, 0)});
                        gefunden.insert(k.id);
                        break;
                    }
                }
            }
            for (const Kontakt &k : std::as_const(m_liste.kontakte)) {
                for (const Telefonwert &t : k.telefon) {
                    if (!gefunden.contains(k.id) && schluesselVon(t.wert).contains(ziffern)) {
                        a.treffer.append({k, t.feld, t.wert});
                        gefunden.insert(k.id);
                        break;
                    }
                }
            }
            a.anzahl = a.treffer.size();
            return a;
        }
        QString firma(const QString &id) override
        {
            for (const Kontakt &k : std::as_const(m_liste.kontakte)) {
                if (k.id == id)
                    return k.firma;
            }
            return {};
        }

    private:
        static QString schluesselVon(const QString &wert)
        {
            return Nummernschluessel::schluessel(wert, clActDBF::Heimatvorwahl());
        }
        template<typename Passt> std::optional<Kontakt> suche(Passt passt) const
        {
            for (const Kontakt &k : std::as_const(m_liste.kontakte)) {
                for (const Telefonwert &t : k.telefon) {
                    if (passt(t.wert))
                        return k;
                }
            }
            return std::nullopt;
        }

        Kontaktliste &m_liste;
    };
};
