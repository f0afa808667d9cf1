#include "actdb/ActKontaktkarte.h"

#include "actdb/ActPfad.h"
#include "actdb/Felddefinitionen.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/Recordset.h"

#include <QHash>

using namespace Qt::StringLiterals;

ActKontaktkarte ActKontaktkarte::lies(const QString &datenbank, const QString &id)
{
    ActKontaktkarte karte;
    const ActPfad pfad(datenbank);
    const QString gesucht = id.trimmed();
    try {
        auto db = DBEngine::instance().OpenDatabase(pfad.Ordner(), false, true, u"FoxPro 2.6;"_s);
        auto rs = db->OpenRecordset(u"SELECT * FROM ["_s + pfad.Tabellenname() + u"] WHERE UNIQUE_ID = ?"_s, {gesucht});
        if (rs->Eof()) {
            karte.ergebnis = Ergebnis::Unbekannt;
            return karte;
        }
        QStringList spalten;
        for (const Field &f : rs->Fields())
            spalten.append(f.Name());
        // Labels from the definition file; a column it does not name shows its name.
        QHash<QString, Felddefinitionen::Eintrag> labels;
        try {
            labels = Felddefinitionen::lies(pfad.Ordner() + u'/' + pfad.Tabellenname() + u".ddf"_s)
                         .Kontaktfelder(spalten);
        } catch (const Felddefinitionen::Fehler &) {
        }
        for (const Field &f : rs->Fields()) {
            if (f.isNull() || f.Text().trimmed().isEmpty())
                continue;
            const QString label = labels.value(f.Name()).Bezeichnung;
            karte.zeilen.append({label.isEmpty() ? f.Name() : label, f.Text()});
        }
        karte.id = rs->Fields()[u"UNIQUE_ID"_s].Text();
        karte.name = rs->Fields().indexOf(u"NAME"_s) >= 0 ? rs->Fields()[u"NAME"_s].Text() : QString();
        karte.ergebnis = Ergebnis::Gelesen;
        rs->Close();
        db->Close();
    } catch (const JetFehler &e) {
        karte.ergebnis = Ergebnis::Unlesbar;
        karte.fehler = e.Description();
    }
    return karte;
}
