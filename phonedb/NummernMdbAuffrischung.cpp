#include "phonedb/NummernMdbAuffrischung.h"

#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/JetSql.h"
#include "platform/jet/Recordset.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

QString NummernMdbAuffrischung::Versionstabelle()
{
    return u"MSysDatenstand"_s;
}

bool NummernMdbAuffrischung::Benutzertabelle(const QString &name)
{
    return name.compare(u"Anrufspeicher"_s, Qt::CaseInsensitive) == 0
           || name.compare(u"Liste"_s, Qt::CaseInsensitive) == 0;
}

QString NummernMdbAuffrischung::Datenstand(Database &db)
{
    if (!db.TableDefs().Namen().contains(Versionstabelle(), Qt::CaseInsensitive))
        return {};
    auto rs = db.OpenRecordset(u"SELECT Datenstand FROM "_s + JetSql::quoteName(Versionstabelle()));
    const QString stand = rs->Eof() ? QString() : rs->Fields()[0].Text();
    rs->Close();
    return stand;
}

bool NummernMdbAuffrischung::auffrischen(const QString &datei, const QString &vorlage)
{
    if (!QFileInfo::exists(vorlage) || !QFileInfo::exists(datei)
        || QFileInfo(datei).canonicalFilePath() == QFileInfo(vorlage).canonicalFilePath())
        return false;
    auto quelle = DBEngine::instance().OpenDatabase(vorlage, false, true);
    const QString neu = Datenstand(*quelle);
    auto db = DBEngine::instance().OpenDatabase(datei);
    if (neu.isEmpty() || Datenstand(*db) == neu) {
        db->Close();
        quelle->Close();
        return false;
    }

    db->BeginTrans();
    try {
        const QStringList vorhanden = db->TableDefs().Namen();
        TableDefs &tabellen = quelle->TableDefs();
        for (int t = 0; t < tabellen.Count(); ++t) {
            TableDef &vorbild = tabellen[t];
            const QString name = vorbild.Name();
            if (vorbild.isSystem() || Benutzertabelle(name))
                continue;
            auto rs = quelle->OpenRecordset(u"SELECT * FROM "_s + JetSql::quoteName(name));
            const ::Fields &felder = rs->Fields();
            if (vorhanden.contains(name, Qt::CaseInsensitive)) {
                db->Execute(u"DELETE FROM "_s + JetSql::quoteName(name));
            } else {
                // A table new in this version (another country).
                TableDef neueTabelle(name);
                for (int f = 0; f < felder.Count(); ++f) {
                    Field feld = neueTabelle.CreateField(felder[f].Name(), felder[f].Type(), felder[f].Size());
                    feld.setAllowZeroLength(true);
                    neueTabelle.Fields().Append(feld);
                }
                if (felder.indexOf(u"Vorwahl"_s) >= 0) {
                    Index i = neueTabelle.CreateIndex(u"Vorwahl"_s);
                    i.Fields().Append(i.CreateField(u"Vorwahl"_s));
                    neueTabelle.AppendIndex(i);
                }
                db->TableDefs().Append(neueTabelle);
            }
            QStringList spalten, platz;
            for (int f = 0; f < felder.Count(); ++f) {
                spalten << JetSql::quoteName(felder[f].Name());
                platz << u"?"_s;
            }
            const QString einfuegen = u"INSERT INTO "_s + JetSql::quoteName(name) + u" ("_s + spalten.join(u", "_s)
                                      + u") VALUES ("_s + platz.join(u", "_s) + u")"_s;
            for (; !rs->Eof(); rs->MoveNext()) {
                QVariantList werte;
                for (int f = 0; f < rs->Fields().Count(); ++f)
                    werte << rs->Fields()[f].Value();
                db->Execute(einfuegen, werte);
            }
            rs->Close();
        }
        if (!vorhanden.contains(Versionstabelle(), Qt::CaseInsensitive)) {
            TableDef version(Versionstabelle());
            Field feld = version.CreateField(u"Datenstand"_s, 10, 64);
            version.Fields().Append(feld);
            db->TableDefs().Append(version);
        }
        db->Execute(u"DELETE FROM "_s + JetSql::quoteName(Versionstabelle()));
        db->Execute(u"INSERT INTO "_s + JetSql::quoteName(Versionstabelle()) + u" (Datenstand) VALUES (?)"_s, {neu});
        db->CommitTrans();
    } catch (const JetFehler &) {
        db->Rollback();
        db->Close();
        quelle->Close();
        throw;
    }
    db->Close();
    quelle->Close();
    return true;
}
