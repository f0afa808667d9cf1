#include "phonedb/Anruferlistenexport.h"

#include "core/Anruf.h"
#include "core/modHaupt.h"
#include "platform/registry/RegionalSettings.h"

#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

const QString Unbekannt = u"Unbekannt"_s;
const QString Suche = u"suche..."_s;
const QString OhneName = u"Keine Angaben im ACT!"_s;
const QByteArray CRLF = "\r\n";

// A field of the table: in quotes, a quote in it doubled. Line breaks stay
// inside the quotes, where a spreadsheet takes them as part of the cell.
QByteArray feld(const QString &text)
{
    QByteArray f = text.toUtf8();
    f.replace('"', "\"\"");
    return '"' + f + '"';
}

// A text value of a card, its special characters escaped.
QString kartentext(const QString &text)
{
    QString t = text;
    t.replace(u'\\', u"\\\\"_s);
    t.replace(u',', u"\\,"_s);
    t.replace(u';', u"\\;"_s);
    t.replace(u"\r\n"_s, u"\\n"_s);
    t.replace(u'\n', u"\\n"_s);
    t.replace(u'\r', u"\\n"_s);
    return t;
}

// A line of a card, folded after 75 bytes (each further part begins with a
// blank), never inside a character.
QByteArray kartenzeile(const QString &zeile)
{
    const QByteArray utf8 = zeile.toUtf8();
    QByteArray aus;
    qsizetype anfang = 0;
    qsizetype grenze = 75;
    while (utf8.size() - anfang > grenze) {
        qsizetype ende = anfang + grenze;
        // Bytes 10xxxxxx continue a character.
        while (ende > anfang && (static_cast<unsigned char>(utf8[ende]) & 0xC0) == 0x80)
            --ende;
        aus += utf8.mid(anfang, ende - anfang) + CRLF + ' ';
        anfang = ende;
        grenze = 74; // the blank takes one
    }
    return aus + utf8.mid(anfang) + CRLF;
}

bool hatNamen(const QString &kontakt)
{
    return !kontakt.trimmed().isEmpty() && kontakt != Unbekannt && kontakt != OhneName && kontakt != Suche;
}

// The structured name of a card: "Müller, Jürgen" names the family first,
// "Greta Grünwald" last; a single word is taken as the family name.
QString strukturierterName(const QString &name)
{
    const QString n = name.simplified();
    QString familie, vorname;
    if (const qsizetype komma = n.indexOf(u','); komma >= 0) {
        familie = n.left(komma).trimmed();
        vorname = n.mid(komma + 1).trimmed();
    } else if (const qsizetype blank = n.lastIndexOf(u' '); blank >= 0) {
        familie = n.mid(blank + 1);
        vorname = n.left(blank);
    } else {
        familie = n;
    }
    return kartentext(familie) + u';' + kartentext(vorname) + u";;;"_s;
}

} // namespace

QList<Anruferlistenexport::Zeile> Anruferlistenexport::ausAnrufen(const std::vector<Anruf> &anrufe)
{
    QList<Zeile> zeilen;
    zeilen.reserve(static_cast<qsizetype>(anrufe.size()));
    for (const Anruf &a : anrufe) {
        Zeile z;
        z.nummer = a.nummer;
        z.datum = a.Datumstext();
        z.ort = a.ort;
        z.kontakt = a.name;
        z.angerufen = a.angerufen;
        // Only a contact has an id; every other caller is "Unbekannt".
        if (a.erkannt())
            z.kontaktId = IDAusKlammern(a.Tag()).trimmed();
        zeilen.append(z);
    }
    return zeilen;
}

QStringList Anruferlistenexport::KontaktIds(const QList<Zeile> &zeilen)
{
    QStringList ids;
    for (const Zeile &z : zeilen) {
        if (!z.kontaktId.isEmpty() && !ids.contains(z.kontaktId))
            ids.append(z.kontaktId);
    }
    return ids;
}

int Anruferlistenexport::Kontakte(const QList<Zeile> &zeilen)
{
    return static_cast<int>(KontaktIds(zeilen).size());
}

Anruferlistenexport::Format Anruferlistenexport::FormatFuer(const QString &pfad)
{
    return QFileInfo(pfad).suffix().compare(u"vcf"_s, Qt::CaseInsensitive) == 0 ? Format::Adressbuch
                                                                                : Format::Tabelle;
}

QString Anruferlistenexport::Ergebnis(const Zeile &zeile)
{
    if (!zeile.kontaktId.isEmpty())
        return u"erkannt"_s;
    return hatNamen(zeile.kontakt) ? u"freie Liste"_s : u"unbekannt"_s;
}

QString Anruferlistenexport::Zeitpunkt(const QString &listenDatum)
{
    const std::optional<QDateTime> moment = RegionalSettings::ParseDateTime(listenDatum);
    if (!moment || !moment->isValid())
        return listenDatum;
    return moment->toString(u"dd.MM.yyyy HH:mm:ss"_s);
}

QByteArray Anruferlistenexport::Tabelle(const QList<Zeile> &zeilen)
{
    const auto zeile = [](const QStringList &felder) {
        QByteArrayList teile;
        for (const QString &f : felder)
            teile.append(feld(f));
        return teile.join(';') + CRLF;
    };
    // The byte-order mark tells the spreadsheet that the text is UTF-8.
    QByteArray aus = "\xEF\xBB\xBF";
    // The number called comes last, so that sheets made for the older columns still fit.
    aus += zeile({u"Nummer"_s, u"Datum"_s, u"Ort"_s, u"Kontakt"_s, u"Firma"_s, u"Ergebnis"_s, u"Angerufen"_s});
    for (const Zeile &z : zeilen)
        aus += zeile({z.nummer, Zeitpunkt(z.datum), z.ort, z.kontakt, z.firma, Ergebnis(z), z.angerufen});
    return aus;
}

QByteArray Anruferlistenexport::Adressbuch(const QList<Zeile> &zeilen)
{
    QByteArray aus;
    for (const QString &id : KontaktIds(zeilen)) {
        // The first entry of the contact names it; every number it called from is on its card.
        QStringList nummern;
        const Zeile *erste = nullptr;
        QString firma;
        for (const Zeile &z : zeilen) {
            if (z.kontaktId != id)
                continue;
            if (!erste)
                erste = &z;
            if (firma.isEmpty())
                firma = z.firma.trimmed();
            if (!z.nummer.isEmpty() && !nummern.contains(z.nummer))
                nummern.append(z.nummer);
        }
        const bool mitNamen = hatNamen(erste->kontakt);
        // A card must have a name: a contact without one goes by its company, else its number.
        const QString name = mitNamen ? erste->kontakt.simplified() : !firma.isEmpty() ? firma : nummern.value(0);
        aus += kartenzeile(u"BEGIN:VCARD"_s);
        aus += kartenzeile(u"VERSION:3.0"_s);
        aus += kartenzeile(u"FN:"_s + kartentext(name));
        aus += kartenzeile(u"N:"_s + (mitNamen ? strukturierterName(name) : u";;;;"_s));
        if (!firma.isEmpty())
            aus += kartenzeile(u"ORG:"_s + kartentext(firma));
        for (const QString &nummer : nummern)
            aus += kartenzeile(u"TEL;TYPE=VOICE:"_s + kartentext(nummer));
        aus += kartenzeile(u"END:VCARD"_s);
    }
    return aus;
}

bool Anruferlistenexport::schreibe(const QString &pfad, const QList<Zeile> &zeilen)
{
    m_fehler.clear();
    const QByteArray inhalt = FormatFuer(pfad) == Format::Adressbuch ? Adressbuch(zeilen) : Tabelle(zeilen);
    // Written beside the target and put in its place at the end: a failure
    // on the way leaves neither a part of the file nor a damaged old one.
    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly)) {
        m_fehler = datei.errorString();
        return false;
    }
    if (datei.write(inhalt) != inhalt.size()) {
        m_fehler = datei.errorString();
        datei.cancelWriting();
        return false;
    }
    if (!datei.commit()) {
        m_fehler = datei.errorString();
        return false;
    }
    return true;
}
