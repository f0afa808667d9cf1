#pragma once

#include "actdb/clActDBF.h"
#include "core/Kontaktquelle.h"
#include "core/Nummernschluessel.h"

#include <QByteArray>

#include <algorithm>
#include <vector>

// An address book held in memory: contacts with their numbers as written.
// It searches as a source must (the number as written, then the key), hands
// its contacts to a copy, and counts how often it was opened and how many
// searches are open. With `lesbar` set, its contacts can be read only that
// far.
class Kontaktliste : public Kontaktquelle
{
public:
    QList<Kontakt> kontakte;
    bool bereit = true;
    int geoeffnet = 0;
    int offen = 0;
    qsizetype lesbar = -1;

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
    std::unique_ptr<Kontaktbestand> bestand(const QStringList &telefonfelder) override
    {
        if (!bereit)
            return nullptr;
        return std::make_unique<Bestand>(kontakte, telefonfelder, lesbar);
    }

private:
    class Bestand : public Kontaktbestand
    {
    public:
        Bestand(QList<Kontakt> kontakte, QStringList felder, qsizetype lesbar)
            : m_kontakte(std::move(kontakte))
            , m_felder(std::move(felder))
            , m_lesbar(lesbar)
            , m_texte(std::size_t(m_felder.size()) + 4)
            , m_werte(m_texte.size())
        {
            if (m_lesbar == 0)
                m_fehler = QStringLiteral("Das Adressbuch ist nicht lesbar.");
        }
        const Werte *naechster() override
        {
            if (m_naechster == m_lesbar)
                m_fehler = QStringLiteral("Das Adressbuch ist nicht lesbar.");
            if (!m_fehler.isEmpty() || m_naechster >= m_kontakte.size())
                return nullptr;
            const Kontakt &k = m_kontakte[m_naechster++];
            std::size_t i = 0;
            for (const QString &feld : std::as_const(m_felder)) {
                const auto t = std::find_if(k.telefon.begin(), k.telefon.end(),
                                            [&feld](const Telefonwert &w) { return w.feld == feld; });
                setze(i++, t == k.telefon.end() ? QString() : t->wert);
            }
            setze(i++, k.name);
            setze(i++, k.firma);
            setze(i++, k.ort.value_or(QString()));
            setze(i++, k.id);
            return &m_werte;
        }
        QString fehler() const override { return m_fehler; }
        qint64 ungefaehreAnzahl() const override { return m_kontakte.size(); }
        int laenge(std::size_t) const override { return 0; }

    private:
        void setze(std::size_t i, const QString &wert)
        {
            m_texte[i] = wert.toUtf8();
            if (wert.isNull())
                m_werte[i].reset();
            else
                m_werte[i] = std::string_view(m_texte[i].constData(), std::size_t(m_texte[i].size()));
        }

        QList<Kontakt> m_kontakte;
        QStringList m_felder;
        qsizetype m_lesbar;
        qsizetype m_naechster = 0;
        QString m_fehler;
        std::vector<QByteArray> m_texte;
        Werte m_werte;
    };

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
