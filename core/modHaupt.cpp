#include "core/modHaupt.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int IdLaenge = 12;

// The positions (0-based) of the separators that end the list's elements:
// the search starts at the second character and then one character after
// each find, so a separator at the very start does not count.
std::vector<qsizetype> Trennstellen(const QString &liste, const QString &trenner)
{
    std::vector<qsizetype> stellen;
    if (liste.isEmpty() || trenner.isEmpty())
        return stellen;
    qsizetype pos = liste.indexOf(trenner, 1);
    while (pos >= 0) {
        stellen.push_back(pos);
        pos = liste.indexOf(trenner, pos + 1);
    }
    return stellen;
}

QString OhneBlanks(const QString &text)
{
    qsizetype anfang = 0;
    qsizetype ende = text.size();
    while (anfang < ende && text[anfang] == u' ')
        ++anfang;
    while (ende > anfang && text[ende - 1] == u' ')
        --ende;
    return text.mid(anfang, ende - anfang);
}

} // namespace

QString Auffuellen12(const QString &text)
{
    if (text.size() >= IdLaenge)
        return text;
    return text + QString(IdLaenge - text.size(), u' ');
}

QString IDInKlammern(const QString &id)
{
    return u'[' + Auffuellen12(id) + u']';
}

QString IDAusKlammern(const QString &text)
{
    // An identifier longer than twelve characters was stored whole between the
    // brackets; cutting it would name another contact or none.
    if (text.size() > IdLaenge + 2 && text.startsWith(u'[') && text.endsWith(u']')
        && text.count(u'[') == 1 && text.count(u']') == 1)
        return text.mid(1, text.size() - 2);
    return Auffuellen12(text.mid(1, IdLaenge));
}

int AnzahlElemente(const QString &liste, const QString &trenner)
{
    if (liste.isEmpty())
        return 0;
    return 1 + static_cast<int>(Trennstellen(liste, trenner).size());
}

QString Element(const QString &liste, const QString &trenner, int i)
{
    const int anzahl = AnzahlElemente(liste, trenner);
    if (i < 1 || i > anzahl)
        return QString();
    const std::vector<qsizetype> stellen = Trennstellen(liste, trenner);
    const qsizetype anfang = i == 1 ? 0 : stellen[i - 2] + trenner.size();
    const qsizetype ende = i <= static_cast<int>(stellen.size()) ? stellen[i - 1] : liste.size();
    if (ende <= anfang)
        return QString();
    return OhneBlanks(liste.mid(anfang, ende - anfang));
}

bool InListe(const QString &liste, const QString &item, const QString &trenner)
{
    const int anzahl = AnzahlElemente(liste, trenner);
    for (int i = 1; i <= anzahl; ++i) {
        if (Element(liste, trenner, i) == item)
            return true;
    }
    return false;
}
