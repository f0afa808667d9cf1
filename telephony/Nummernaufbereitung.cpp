#include "telephony/Nummernaufbereitung.h"

#include "platform/system/Steuerzeichen.h"

#include <QStringList>

using namespace Qt::StringLiterals;

Nummernaufbereitung::Ergebnis Nummernaufbereitung::aufbereiten(const QString &gemeldet, const QString &partyId,
                                                              const Einstellungen &e)
{
    Ergebnis r;
    // What cannot be seen is no part of the number, whichever line brought it:
    // the list shows, and the call-back dials, the same digits.
    const QString rohnummer = Steuerzeichen::entfernt(gemeldet);
    // The raw number is compared before any cleaning, exactly.
    if (!e.Filtertext.isEmpty() && !rohnummer.isEmpty()) {
        const QStringList teile = e.Filtertext.split(u',');
        for (const QString &teil : teile) {
            if (teil == rohnummer) {
                r.ignoriert = true;
                r.filterTreffer = teil;
                return r;
            }
        }
    }
    if (!partyId.contains(u"<ADDRESS>"_s)) {
        r.nummer = u"keine Nummer"_s;
        return r;
    }
    QString nummer = rohnummer;
    if (e.PlusKlammerFilter)
        nummer = PlusKlammerFilter(nummer);
    if (e.PraefixHinzufuegen && !e.PraefixEntfernen)
        nummer = e.Praefix + nummer;
    if (e.PraefixEntfernen && !e.PraefixHinzufuegen) {
        nummer = nummer.trimmed();
        if (!e.Praefix.isEmpty() && nummer.startsWith(e.Praefix))
            nummer.remove(0, e.Praefix.size());
    }
    r.nummer = nummer;
    return r;
}

QString Nummernaufbereitung::PlusKlammerFilter(const QString &s)
{
    const QString t = s.trimmed();
    if (t.isEmpty())
        return s;
    QString ergebnis;
    QString laendercode;
    bool imLaendercode = false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        const bool ziffer = c >= u'0' && c <= u'9';
        if (i == 0 && c == u'+') {
            imLaendercode = true;
            continue;
        }
        if (imLaendercode) {
            if (!ziffer) {
                // A separator after the country code: national digits follow.
                imLaendercode = false;
                laendercode.clear();
            } else if (laendercode.size() == 3) {
                ergebnis = u"00"_s + laendercode + c;
                imLaendercode = false;
            } else {
                laendercode += c;
            }
            continue;
        }
        if (ziffer)
            ergebnis += c;
    }
    return ergebnis;
}

QString Nummernaufbereitung::Filtereingabe(const QString &antwort)
{
    QStringList eintraege;
    for (QString teil : antwort.split(u',')) {
        for (const QChar weg : {u' ', u'-', u'/', u'(', u')', u'+', u';', u'#'})
            teil.remove(weg);
        if (!teil.isEmpty())
            eintraege.append(teil);
    }
    return eintraege.join(u',');
}
