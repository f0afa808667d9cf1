#include "actdb/clACTFelder.h"

#include "actdb/ActPfad.h"
#include "actdb/Felddefinitionen.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = u"\r\n"_s;

QStringList spalten(Database &db, const QString &tabelle)
{
    auto rs = db.OpenRecordset(u"SELECT * FROM "_s + u'[' + tabelle + u']' + u" WHERE 0 = 1"_s);
    QStringList namen;
    for (const Field &f : rs->Fields())
        namen.append(f.Name());
    rs->Close();
    return namen;
}

} // namespace

clACTFelder::clACTFelder(Dialogs &dialogs)
    : m_dialogs(dialogs)
{
}

QString clACTFelder::Klassenname()
{
    return u"clACTFelder"_s;
}

void clACTFelder::kill()
{
    ACTDatenbankpfad.clear();
    m_kontakt.clear();
    m_gruppe.clear();
}

bool clACTFelder::init(const QString &Datenbankpfad)
{
    // Another database's fields never stand for this one, found or not.
    kill();
    const QString kurz = ActPfad::finde(Datenbankpfad);
    ACTDatenbankpfad = kurz;
    if (kurz.isEmpty() || !QFileInfo(kurz).isFile()) {
        m_dialogs.MsgBox(u"Die ACT!-Datenbank \""_s + (kurz.isEmpty() ? Datenbankpfad : kurz) + u'"' + CRLF
                             + u"konnte nicht gefunden werden."_s,
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
        return false;
    }
    m_kontakt.assign(1, clACTFeld());
    m_gruppe.assign(1, clACTFeld());
    return true;
}

QString clACTFelder::ACTPfad() const
{
    const qsizetype p = ACTDatenbankpfad.lastIndexOf(u'/');
    return p < 0 ? QString() : ACTDatenbankpfad.left(p);
}

QString clACTFelder::ACTDateiname() const
{
    const QString name = ACTDatenbankpfad.mid(ACTDatenbankpfad.lastIndexOf(u'/') + 1);
    return name.left(std::max<qsizetype>(0, name.size() - 4));
}

clACTFeld clACTFelder::KontaktFeld(int i) const
{
    return i >= 0 && i < static_cast<int>(m_kontakt.size()) ? m_kontakt[i] : clACTFeld();
}

clACTFeld clACTFelder::GruppenFeld(int i) const
{
    return i >= 0 && i < static_cast<int>(m_gruppe.size()) ? m_gruppe[i] : clACTFeld();
}

bool clACTFelder::ConnectWithDBF(QStringList &kontakt, QStringList &gruppe)
{
    try {
        auto db = DBEngine::instance().OpenDatabase(ACTPfad(), false, false, u"FoxPro 2.6;"_s);
        kontakt = spalten(*db, ACTDateiname() + u".dbf"_s);
        gruppe = spalten(*db, ACTDateiname() + u".gdb"_s);
        db->Close();
        return true;
    } catch (const JetFehler &e) {
        m_dialogs.MsgBox(u"Fehler in Klasse "_s + Klassenname() + u" (ConnectWithDBF)"_s + CRLF + u"Fehlernummer: "_s
                             + QString::number(e.Number()) + CRLF + u"Fehlerbeschreibung: "_s + e.Description(),
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
        return false;
    }
}

void clACTFelder::Felder_einlesen(const Fortschritt &fortschritt)
{
    QStringList kontakt, gruppe;
    if (!ConnectWithDBF(kontakt, gruppe))
        return;
    if (fortschritt)
        fortschritt(u"Searching positions ..."_s);
    const Felddefinitionen ddf = Felddefinitionen::lies(ACTPfad() + u'/' + ACTDateiname() + u".ddf"_s);

    const auto fuelle = [&](const QStringList &namen, std::vector<clACTFeld> &felder,
                            const QHash<QString, Felddefinitionen::Eintrag> &gefunden, const QString &text) {
        felder.assign(namen.size() + 1, clACTFeld());
        for (int i = 0; i < namen.size(); ++i) {
            felder[i].Feldname = namen[i];
            auto it = gefunden.constFind(namen[i]);
            if (it != gefunden.constEnd()) {
                felder[i].Feldart = it->Feldart;
                felder[i].Bezeichnung = it->Bezeichnung;
            }
            if (fortschritt && i % 20 == 0) {
                fortschritt(text + QString::number(i * 100 / namen.size()) + u"%)"_s);
            }
        }
    };
    // Both lists or neither: a definition file that fails half-way must not
    // leave the contact fields looking read.
    std::vector<clACTFeld> kontaktfelder, gruppenfelder;
    fuelle(kontakt, kontaktfelder, ddf.Kontaktfelder(kontakt), u"scanning ACT! contactfields ... ("_s);
    fuelle(gruppe, gruppenfelder, ddf.Gruppenfelder(gruppe), u"scanning ACT! groupfields ... ("_s);
    m_kontakt = std::move(kontaktfelder);
    m_gruppe = std::move(gruppenfelder);
}

bool clACTFelder::checkeACTFeldnamen(const QString &name)
{
    QStringList kontakt, gruppe;
    if (!ConnectWithDBF(kontakt, gruppe))
        return false;
    return kontakt.contains(name) || gruppe.contains(name);
}
