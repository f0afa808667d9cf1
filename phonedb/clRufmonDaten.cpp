#include "phonedb/clRufmonDaten.h"

#include "core/Anruf.h"
#include "core/Anruferliste.h"
#include "core/modHaupt.h"
#include "core/modOptionen.h"
#include "phonedb/DiagnosePhonedb.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/DaoTyp.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/JetSql.h"
#include "platform/registry/RegionalSettings.h"

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = u"\r\n"_s;
const QString Unbekannt = u"Unbekannt"_s;

// An area code has at least its national "0" and one digit.
constexpr int KuerzesteVorwahl = 2;

// A number as VB's Str() writes it: one blank before a number that is not negative.
QString mitVorzeichenstelle(long n)
{
    return n < 0 ? QString::number(n) : u' ' + QString::number(n);
}


} // namespace

clRufmonDaten::clRufmonDaten(Dialogs &dialogs, const modOptionen &optionen, LocaleQuelle locale)
    : m_dialogs(dialogs)
    , m_optionen(optionen)
    , m_locale(locale ? std::move(locale) : LocaleQuelle([] { return RegionalSettings::LocaleKennung(); }))
{
}

clRufmonDaten::~clRufmonDaten() = default;

QString clRufmonDaten::Klassenname()
{
    return u"clRufmonDaten"_s;
}

QString clRufmonDaten::FeldAngerufen()
{
    return u"Angerufen"_s;
}

void clRufmonDaten::init(const QString &Datenbankpfad)
{
    m_pfad = Datenbankpfad;
    m_laender.reset();
    m_vorwahlen.clear();
    try {
        m_db = DBEngine::instance().OpenDatabase(Datenbankpfad);
    } catch (const JetFehler &e) {
        m_db.reset();
        m_dialogs.MsgBox(u"Fehler in Klasse "_s + Klassenname() + CRLF + u"Fehler beim Öffnen der Datenbank:"_s
                             + Datenbankpfad + CRLF + u"Fehlernummer:"_s + QString::number(e.Number()) + CRLF
                             + u"Fehlerbeschreibung:"_s + e.Description(),
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
        return;
    }
    ergaenzeAngerufen();
}

// Files from before the number called was kept get its field; every other
// field and every row stays as it is. A file that cannot take it (read
// only) keeps its calls without it.
void clRufmonDaten::ergaenzeAngerufen()
{
    try {
        bool fehlt = false;
        {
            auto rs = m_db->OpenRecordset(u"Anrufspeicher"_s, Recordset::dbOpenTable);
            // A file of the oldest form (no Icon) stays as it is: it cannot take calls anyway.
            fehlt = rs->Fields().indexOf(FeldAngerufen()) < 0 && rs->Fields().indexOf(u"Icon"_s) >= 0;
            rs->Close();
        }
        if (!fehlt)
            return;
        TableDef &tabelle = m_db->TableDefs()[u"Anrufspeicher"_s];
        Field feld = tabelle.CreateField(FeldAngerufen(), DaoTyp::dbText, 50);
        feld.setAllowZeroLength(true);
        tabelle.AppendField(feld);
        m_db->TableDefs().Refresh();
    } catch (const JetFehler &e) {
        qCWarning(lcPhonedb).noquote() << u"Anrufspeicher ohne Feld Angerufen:"_s << e.Description();
    }
}

void clRufmonDaten::kill()
{
    StapelBeenden();
    m_laender.reset();
    m_vorwahlen.clear();
    if (m_db)
        m_db->Close();
    m_db.reset();
}

void clRufmonDaten::StapelBeginnen()
{
    if (m_stapelZeilen >= 0 || !istOffen())
        return;
    try {
        m_db->BeginTrans();
        m_stapelZeilen = 0;
    } catch (const JetFehler &) {
        // Then every row is written on its own, as without a burst.
    }
}

void clRufmonDaten::StapelBeenden()
{
    if (m_stapelZeilen < 0)
        return;
    m_stapelZeilen = -1;
    try {
        if (istOffen())
            m_db->CommitTrans();
    } catch (const JetFehler &e) {
        m_dialogs.MsgBox(u"Fehler in Klasse "_s + Klassenname() + u" (schreibItemInMDB, CommitTrans)."_s + CRLF
                             + u"Fehlernummer: "_s + QString::number(e.Number()) + CRLF + u"Fehlerbeschreibung: "_s
                             + e.Description(),
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
    }
}

bool clRufmonDaten::istOffen() const
{
    return m_db && m_db->isOpen();
}

namespace {

Database &offen(const std::shared_ptr<Database> &db)
{
    if (!db)
        throw JetFehler(JetFehler::ObjektUngueltig, u"Objekt ungültig oder nicht mehr festgelegt."_s);
    return *db;
}

} // namespace

clRufmonDaten::Verzeichnis clRufmonDaten::lade(const QString &sql)
{
    Verzeichnis v;
    auto rs = offen(m_db).OpenRecordset(sql);
    while (!rs->Eof()) {
        const QString code = rs->Fields()[0].Text();
        if (!code.isEmpty() && !v.namen.contains(code)) {
            v.namen.insert(code, rs->Fields()[1].Text());
            v.laengste = std::max(v.laengste, int(code.size()));
            v.kuerzeste = v.kuerzeste == 0 ? int(code.size()) : std::min(v.kuerzeste, int(code.size()));
        }
        rs->MoveNext();
    }
    rs->Close();
    return v;
}

QString clRufmonDaten::laengsterCode(const Verzeichnis &v, const QString &nummer, int mindestens, QString &code)
{
    const int von = std::min(v.laengste, int(nummer.size()));
    const int bis = std::max(mindestens, v.kuerzeste);
    for (int n = von; n >= bis && n > 0; --n) {
        const QString praefix = nummer.left(n);
        auto it = v.namen.constFind(praefix);
        if (it != v.namen.constEnd()) {
            code = praefix;
            return *it;
        }
    }
    code.clear();
    return QString();
}

QString clRufmonDaten::SucheLandZuVorwahl(const QString &nummer, QString &laendervorwahl)
{
    // The country whose code is the longest beginning of the number: with the
    // codes 1 and 1242, 1242... is the Bahamas and 1212... is USA/Kanada.
    // A failure to read the countries goes to the caller.
    if (!m_laender)
        m_laender = lade(u"SELECT Vorwahl, Land FROM Laender;"_s);
    return laengsterCode(*m_laender, nummer, 1, laendervorwahl);
}

QString clRufmonDaten::SucheOrtZuVorwahl(const QString &nummer, const QString &tabelle, QString &vorwahl)
{
    // The place of the longest area code of the table that the number begins
    // with; a number that only begins like some longer code has no place.
    vorwahl.clear();
    if (tabelle.isEmpty())
        return QString();
    auto it = m_vorwahlen.constFind(tabelle);
    if (it == m_vorwahlen.constEnd()) {
        const QString sql = u"SELECT Vorwahl, Ort FROM "_s + JetSql::quoteName(tabelle) + u";"_s;
        try {
            it = m_vorwahlen.insert(tabelle, lade(sql));
        } catch (const JetFehler &e) {
            // A country without its own area-code table has no places.
            if (e.Number() == JetFehler::EingabetabelleFehlt) {
                it = m_vorwahlen.insert(tabelle, Verzeichnis());
            } else {
                m_dialogs.MsgBox(u"Fehler "_s + mitVorzeichenstelle(e.Number()) + u": "_s + e.Description() + CRLF
                                     + u"SQL: "_s + sql,
                                 Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
                return QString();
            }
        }
    }
    return laengsterCode(*it, nummer, KuerzesteVorwahl, vorwahl);
}

void clRufmonDaten::BestimmeVorwahlAnschlussOrtLand(const QString &Nummer, QString &Laendervorwahl,
                                                    QString &Vorwahl, QString &Anschluss, QString &Land,
                                                    QString &Ort)
{
    QString nr = Nummer;
    const QString kennung = m_optionen.leseText(u"InternationaleKennung"_s);
    QString tabelle;
    if (!nr.startsWith(kennung)) {
        Laendervorwahl.clear();
        Land.clear();
        const QString locale = m_locale();
        if (locale == u"00000407"_s)
            tabelle = u"Deutschland"_s;
        else if (locale == u"00000c07"_s)
            tabelle = u"Österreich"_s;
        else
            tabelle = Unbekannt;
    } else {
        nr.remove(0, kennung.size());
        QString code;
        const QString land = SucheLandZuVorwahl(nr, code);
        if (!land.isEmpty()) {
            Land = land;
            Laendervorwahl = code;
            nr.remove(0, code.size());
            tabelle = land;
        } else {
            Land = Unbekannt;
            Laendervorwahl.clear();
            tabelle.clear();
        }
    }

    if (!nr.startsWith(u'0'))
        nr.prepend(u'0');

    QString vorwahl;
    const QString ort = SucheOrtZuVorwahl(nr, tabelle, vorwahl);
    if (!ort.isEmpty()) {
        Ort = ort;
        Vorwahl = vorwahl;
        Anschluss = nr.mid(vorwahl.size());
    } else {
        Ort = Unbekannt;
        Vorwahl.clear();
        Anschluss = nr;
    }
}

void clRufmonDaten::SucheNameOrtAusFreierListe(const QString &Nummer, QString &Name, QString &Ort)
{
    auto rs = offen(m_db).OpenRecordset(u"SELECT Name,Ort FROM Liste WHERE Nummer = ?;"_s, {Nummer});
    if (rs->Eof()) {
        Name = Unbekannt;
        Ort = Unbekannt;
        return;
    }
    // An empty column of the row is as good as unknown.
    const Field &name = rs->Fields()[u"Name"_s];
    const Field &ort = rs->Fields()[u"Ort"_s];
    Name = name.isNull() ? Unbekannt : name.Text();
    Ort = ort.isNull() ? Unbekannt : ort.Text();
    rs->Close();
}

bool clRufmonDaten::speichere(const Anruf &anruf)
{
    // The columns of the caller list, in its order.
    return schreibeZeile(anruf.Tag(), anruf.bild,
                         {{u"Nummer"_s, anruf.nummer},
                          {u"Datum"_s, RegionalSettings::DateTimeText(anruf.zeit)},
                          {u"Ort"_s, anruf.ort},
                          {u"Kontakt"_s, anruf.name}},
                         anruf.angerufen);
}

bool clRufmonDaten::schreibeZeile(const QString &tag, int bild, const QList<std::pair<QString, QString>> &spalten,
                                  const QString &angerufen)
{
    QString schritt = u" (schreibItemInMDB, OpenRecordset)."_s;
    QString hinweis;
    std::unique_ptr<Recordset> rs;
    try {
        rs = offen(m_db).OpenRecordset(u"Anrufspeicher"_s, Recordset::dbOpenTable);
        schritt = u" (schreibItemInMDB, AddNew)."_s;
        rs->AddNew();
        schritt = u" (schreibItemInMDB, SetField UniqueID)."_s;
        rs->Fields()[u"UniqueID"_s].setValue(tag);
        schritt = u" (schreibItemInMDB, SetField "_s + u"Icon"_s + u")."_s;
        hinweis = u"Eventuell verwenden Sie eine ältere Version der \"Nummern.mdb\" Datei."_s;
        rs->Fields()[u"Icon"_s].setValue(bild);
        hinweis.clear();
        for (const auto &[spalte, wert] : spalten) {
            schritt = u" (schreibItemInMDB, SetField "_s + spalte + u")."_s;
            Field &feld = rs->Fields()[spalte];
            QString text = wert;
            // An overlong number or name from outside is kept cut, rather than
            // the whole call lost because it does not fit its column.
            if (feld.Type() == DaoTyp::dbText && feld.Size() > 0 && text.size() > feld.Size())
                text.truncate(feld.Size());
            feld.setValue(text);
        }
        if (const int feld = rs->Fields().indexOf(FeldAngerufen()); feld >= 0) {
            schritt = u" (schreibItemInMDB, SetField "_s + FeldAngerufen() + u")."_s;
            rs->Fields()[feld].setValue(angerufen.left(50));
        }
        schritt = u" (schreibItemInMDB, Update)."_s;
        rs->Update();
        rs->Close();
        if (m_stapelZeilen >= 0 && ++m_stapelZeilen >= 1000) {
            StapelBeenden();
            StapelBeginnen();
        }
        return true;
    } catch (const JetFehler &e) {
        // The row begun is dropped, not saved.
        if (rs)
            rs->Close();
        m_dialogs.MsgBox(u"Fehler in Klasse "_s + Klassenname() + schritt + CRLF + u"Fehlernummer: "_s
                             + QString::number(e.Number()) + CRLF + u"Fehlerbeschreibung: "_s + e.Description()
                             + hinweis,
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
        return false;
    }
}

namespace {

// The contact as the list's column keeps it: an id in brackets is a known
// contact, anything else is nobody the program can show.
void kontaktAus(const QString &tag, Anruf &anruf)
{
    if (tag.startsWith(u'[')) {
        anruf.ergebnis = Anruf::Ergebnis::Erkannt;
        QString id = IDAusKlammern(tag);
        // Anruf::Tag() pads it again, so that the stored form comes back as it was.
        while (id.endsWith(u' '))
            id.chop(1);
        anruf.kontaktId = id;
    } else {
        anruf.ergebnis = Anruf::Ergebnis::Unbekannt;
        anruf.kontaktId.clear();
    }
}

} // namespace

void clRufmonDaten::leseMDBinListview(Anruferliste &anrufe)
{
    // Call by call into the list: a hundred thousand rows need no second copy on the way.
    anrufe.ladenBeginnen();
    struct Ende
    {
        Anruferliste &liste;
        ~Ende() { liste.ladenBeenden(); }
    } ende{anrufe};

    auto rs = offen(m_db).OpenRecordset(u"Anrufspeicher"_s, Recordset::dbOpenTable);
    if (rs->Eof()) {
        rs->Close();
        return;
    }
    const ::Fields &felder = rs->Fields();
    const auto feld = [&felder](const QString &name) {
        const int nr = felder.indexOf(name);
        if (nr < 0)
            throw JetFehler(JetFehler::ElementNichtGefunden,
                            u"Element in dieser Auflistung nicht gefunden: '%1'."_s.arg(name));
        return nr;
    };
    // The columns of the caller list, in its order.
    const int nummer = feld(u"Nummer"_s);
    const int datum = feld(u"Datum"_s);
    const int ort = feld(u"Ort"_s);
    const int kontakt = feld(u"Kontakt"_s);
    const int uniqueId = felder.indexOf(u"UniqueID"_s);
    const int icon = felder.indexOf(u"Icon"_s);
    const int angerufen = felder.indexOf(FeldAngerufen());

    Anruf a;
    while (!rs->Eof()) {
        a.nummer = felder[nummer].Text();
        const QVariant &moment = felder[datum].Value();
        if (moment.typeId() == QMetaType::QDateTime)
            a.zeit = moment.toDateTime();
        else
            a.zeit = RegionalSettings::ParseDateTime(felder[datum].Text()).value_or(QDateTime());
        a.ort = felder[ort].Text();
        a.name = felder[kontakt].Text();
        kontaktAus(uniqueId >= 0 ? felder[uniqueId].Text() : QString(), a);
        int bild = 4;
        if (icon >= 0 && !felder[icon].isNull()) {
            bool ok = false;
            const int wert = felder[icon].Value().toInt(&ok);
            if (ok && wert >= 1 && wert < 11)
                bild = wert;
        }
        a.bild = bild;
        a.angerufen = angerufen >= 0 && !felder[angerufen].isNull() ? felder[angerufen].Text() : QString();
        anrufe.laden(a);
        rs->MoveNext();
    }
    rs->Close();
}

void clRufmonDaten::LoescheAnruferliste(int &Tage)
{
    offen(m_db).Execute(u"DELETE Anrufspeicher.Datum From Anrufspeicher WHERE (((Anrufspeicher.Datum)<Date()-"_s
                        + mitVorzeichenstelle(Tage) + u"));"_s);
}
