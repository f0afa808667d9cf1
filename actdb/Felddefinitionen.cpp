#include "actdb/Felddefinitionen.h"

#include "actdb/ActPfad.h"
#include "platform/xbase/DbfCodePage.h"

#include <QFile>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

// The error numbers of the file and bounds faults, as the program reports them.
constexpr long DateiNichtGefunden = 53;
constexpr long HinterDateiende = 62;
constexpr long IndexAusserhalb = 9;

QString text1252(QByteArrayView bytes)
{
    return DbfCodePage::forLanguageDriver(0x03).toQString(bytes.data(), static_cast<std::size_t>(bytes.size()));
}

QByteArray bytes1252(const QString &text)
{
    QByteArray b;
    b.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x100)
            b.append(static_cast<char>(u));
        else
            b.append('?');
    }
    return b;
}

} // namespace

Felddefinitionen Felddefinitionen::lies(const QString &pfad)
{
    QFile f(ActPfad::finde(pfad).isEmpty() ? pfad : ActPfad::finde(pfad));
    if (!f.open(QIODevice::ReadOnly))
        throw Fehler{DateiNichtGefunden, u"Datei nicht gefunden: %1"_s.arg(pfad)};
    return Felddefinitionen(f.readAll());
}

Felddefinitionen::Felddefinitionen(QByteArray datei)
    : m_daten(std::move(datei))
{
    m_daten.append('\0');
    const qsizetype n = m_daten.size();
    // One pass: the runs and the section markers.
    qsizetype i = 0;
    bool verkauf = false;
    while (i < n) {
        while (i < n && m_daten[i] == '\0')
            ++i;
        if (i >= n)
            break;
        const qsizetype anfang = i;
        while (m_daten[i] != '\0')
            ++i; // the appended zero ends every run
        const Lauf lauf{anfang, i - anfang};
        m_laeufe.push_back(lauf);
        const QByteArrayView text(m_daten.constData() + anfang, lauf.laenge);
        const long z = static_cast<long>(lauf.ende()) + 1; // 1-based position of the zero
        if (lauf.laenge > 12 && text.contains(QByteArrayView("ACTIVITY SCHEMA")))
            m_kontaktEnde = z + 2;
        if (lauf.laenge > 12 && text.contains(QByteArrayView("GROUP INFO SCHEMA")))
            m_gruppenAnfang = z + 2;
        if (text.contains(QByteArrayView("SALES SCHEMA")) || lauf.ende() == n - 1) {
            m_gruppenEnde = z + 2;
            verkauf = true;
            // The records are still indexed to the end: a field may be found past it.
            ++i;
            while (i < n) {
                while (i < n && m_daten[i] == '\0')
                    ++i;
                if (i >= n)
                    break;
                const qsizetype a = i;
                while (m_daten[i] != '\0')
                    ++i;
                m_laeufe.push_back({a, i - a});
                ++i;
            }
            break;
        }
        ++i;
    }
    if (!verkauf)
        throw Fehler{HinterDateiende, u"Einlesen hinter Dateiende: kein Abschluss der Felddefinitionen gefunden."_s};
}

Felddefinitionen::Eintrag Felddefinitionen::eintrag(const Lauf &lauf, const QString &name) const
{
    Eintrag e;
    e.Feldart = static_cast<unsigned char>(m_daten[lauf.ende() - 1]);
    const qsizetype laengeAn = lauf.ende() + 3;
    if (laengeAn >= m_daten.size() - 1)
        throw Fehler{HinterDateiende, u"Einlesen hinter Dateiende bei der Bezeichnung des Feldes %1."_s.arg(name)};
    const qsizetype laenge = static_cast<unsigned char>(m_daten[laengeAn]);
    if (laengeAn + 1 + laenge > m_daten.size() - 1)
        throw Fehler{HinterDateiende, u"Einlesen hinter Dateiende bei der Bezeichnung des Feldes %1."_s.arg(name)};
    e.Bezeichnung = text1252(QByteArrayView(m_daten.constData() + laengeAn + 1, laenge));
    return e;
}

QHash<QString, Felddefinitionen::Eintrag> Felddefinitionen::suche(const QStringList &namen, qsizetype ab,
                                                                  long grenze) const
{
    // The names sought, by their bytes; and which lengths occur at all.
    QHash<QByteArray, QString> gesucht;
    QSet<int> laengen;
    for (const QString &name : namen) {
        const QByteArray b = bytes1252(name);
        if (b.isEmpty() || b.size() > 255)
            continue;
        gesucht.insert(b, name);
        laengen.insert(static_cast<int>(b.size()));
    }
    QHash<QString, Eintrag> gefunden;
    // A section may begin inside a run: the scan then takes its rest as a run.
    std::vector<Lauf> laeufe;
    for (const Lauf &lauf : m_laeufe) {
        if (lauf.anfang >= ab)
            laeufe.push_back(lauf);
        else if (lauf.ende() > ab)
            laeufe.push_back({ab, lauf.ende() - ab});
    }
    for (const Lauf &lauf : laeufe) {
        if (lauf.laenge > 4) {
            const QByteArrayView run(m_daten.constData() + lauf.anfang, lauf.laenge);
            for (qsizetype p = 1; p < lauf.laenge; ++p) {
                const int k = static_cast<unsigned char>(run[p - 1]);
                if (!laengen.contains(k) || p + k > lauf.laenge)
                    continue;
                const QByteArray kandidat = run.sliced(p, k).toByteArray();
                auto it = gesucht.constFind(kandidat);
                if (it == gesucht.constEnd() || gefunden.contains(*it))
                    continue;
                // The first occurrence of the name in the run is the one that counts.
                if (run.indexOf(QByteArrayView(kandidat)) != p)
                    continue;
                gefunden.insert(*it, eintrag(lauf, *it));
            }
        }
        if (gefunden.size() == gesucht.size())
            break;
        if (static_cast<long>(lauf.ende()) + 2 > grenze)
            break;
    }
    return gefunden;
}

QHash<QString, Felddefinitionen::Eintrag> Felddefinitionen::Kontaktfelder(const QStringList &namen) const
{
    return suche(namen, 0, m_kontaktEnde);
}

QHash<QString, Felddefinitionen::Eintrag> Felddefinitionen::Gruppenfelder(const QStringList &namen) const
{
    if (m_gruppenAnfang == 0)
        throw Fehler{IndexAusserhalb, u"Index außerhalb des gültigen Bereichs: keine Gruppendefinitionen gefunden."_s};
    return suche(namen, m_gruppenAnfang - 1, m_gruppenEnde);
}
