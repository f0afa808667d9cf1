#include "team/Teamausgang.h"

#include "platform/jet/DaoTyp.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/teamjournal/DiagnoseTeam.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

Teamausgang::Teamausgang(std::shared_ptr<Database> db)
    : m_db(std::move(db))
{
    if (!m_db || !m_db->isOpen())
        return;
    try {
        bool da = false;
        for (int i = 0; i < m_db->TableDefs().Count(); ++i)
            da = da || m_db->TableDefs()[i].Name().compare(Tabelle(), Qt::CaseInsensitive) == 0;
        if (!da) {
            TableDef t(Tabelle());
            t.Fields().Append(t.CreateField(u"AnrufID"_s, DaoTyp::dbText, 64));
            Field daten = t.CreateField(u"Daten"_s, DaoTyp::dbMemo);
            daten.setAllowZeroLength(true);
            t.Fields().Append(daten);
            Index schluessel = t.CreateIndex(u"PrimaryKey"_s);
            schluessel.Primary = true;
            schluessel.Unique = true;
            schluessel.Fields().Append(schluessel.CreateField(u"AnrufID"_s));
            t.AppendIndex(schluessel);
            m_db->TableDefs().Append(t);
        }
        m_bereit = true;
    } catch (const JetFehler &e) {
        qCWarning(lcTeam).noquote() << u"Ausgang des Team-Journals nicht angelegt:"_s << e.Description();
    }
}

QString Teamausgang::Tabelle()
{
    return u"Teamausgang"_s;
}

QString Teamausgang::alsText(const Journalzeile &z)
{
    QJsonObject o{{u"zeit"_s, z.zeit.toUTC().toString(Qt::ISODateWithMs)},
                  {u"arbeitsplatz"_s, z.arbeitsplatz},
                  {u"leitung"_s, z.leitung},
                  {u"nummer"_s, z.nummer},
                  {u"angerufen"_s, z.angerufen},
                  {u"ort"_s, z.ort},
                  {u"kontaktId"_s, z.kontaktId},
                  {u"kontaktName"_s, z.kontaktName},
                  {u"firma"_s, z.firma},
                  {u"erkannt"_s, z.erkannt},
                  {u"dauer"_s, z.dauer},
                  {u"nachgetragen"_s, z.nachgetragen}};
    if (z.angenommen)
        o.insert(u"angenommen"_s, *z.angenommen);
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

Journalzeile Teamausgang::ausText(const QString &anrufId, const QString &text)
{
    const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
    Journalzeile z;
    z.anrufId = anrufId;
    z.zeit = QDateTime::fromString(o.value(u"zeit"_s).toString(), Qt::ISODateWithMs).toLocalTime();
    z.arbeitsplatz = o.value(u"arbeitsplatz"_s).toString();
    z.leitung = o.value(u"leitung"_s).toString();
    z.nummer = o.value(u"nummer"_s).toString();
    z.angerufen = o.value(u"angerufen"_s).toString();
    z.ort = o.value(u"ort"_s).toString();
    z.kontaktId = o.value(u"kontaktId"_s).toString();
    z.kontaktName = o.value(u"kontaktName"_s).toString();
    z.firma = o.value(u"firma"_s).toString();
    z.erkannt = o.value(u"erkannt"_s).toBool();
    z.dauer = o.value(u"dauer"_s).toInt(-1);
    z.nachgetragen = o.value(u"nachgetragen"_s).toBool();
    if (o.contains(u"angenommen"_s))
        z.angenommen = o.value(u"angenommen"_s).toBool();
    return z;
}

bool Teamausgang::hinzufuegen(const Journalzeile &zeile)
{
    if (!m_bereit)
        return false;
    try {
        m_db->Execute(u"DELETE FROM Teamausgang WHERE AnrufID = ?;"_s, {zeile.anrufId});
        m_db->Execute(u"INSERT INTO Teamausgang (AnrufID, Daten) VALUES (?, ?);"_s, {zeile.anrufId, alsText(zeile)});
        return true;
    } catch (const JetFehler &e) {
        qCWarning(lcTeam).noquote() << u"Ausgang des Team-Journals:"_s << e.Description();
        return false;
    }
}

QList<Journalzeile> Teamausgang::alle()
{
    QList<Journalzeile> zeilen;
    if (!m_bereit)
        return zeilen;
    try {
        auto rs = m_db->OpenRecordset(u"SELECT AnrufID, Daten FROM Teamausgang;"_s, QVariantList());
        while (!rs->Eof()) {
            zeilen.append(ausText(rs->Fields()[0].Text(), rs->Fields()[1].Text()));
            rs->MoveNext();
        }
        rs->Close();
    } catch (const JetFehler &e) {
        qCWarning(lcTeam).noquote() << u"Ausgang des Team-Journals:"_s << e.Description();
    }
    // In the order the calls came, so that the journal fills as they did.
    std::stable_sort(zeilen.begin(), zeilen.end(),
                     [](const Journalzeile &a, const Journalzeile &b) { return a.zeit < b.zeit; });
    return zeilen;
}

void Teamausgang::entfernen(const QStringList &anrufIds, const QStringList &mitAusgang)
{
    if (!m_bereit || anrufIds.isEmpty())
        return;
    // No transaction of its own: the caller list may have one open for a burst.
    try {
        for (const QString &id : anrufIds) {
            if (!mitAusgang.contains(id)) {
                auto rs = m_db->OpenRecordset(u"SELECT Daten FROM Teamausgang WHERE AnrufID = ?;"_s, {id});
                const bool ausgangWartet = !rs->Eof() && ausText(id, rs->Fields()[0].Text()).angenommen.has_value();
                rs->Close();
                if (ausgangWartet)
                    continue;
            }
            m_db->Execute(u"DELETE FROM Teamausgang WHERE AnrufID = ?;"_s, {id});
        }
    } catch (const JetFehler &e) {
        qCWarning(lcTeam).noquote() << u"Ausgang des Team-Journals:"_s << e.Description();
    }
}

int Teamausgang::Anzahl()
{
    if (!m_bereit)
        return 0;
    try {
        auto rs = m_db->OpenRecordset(u"SELECT Count(*) FROM Teamausgang;"_s, QVariantList());
        const int n = rs->Fields()[0].Value().toInt();
        rs->Close();
        return n;
    } catch (const JetFehler &) {
        return 0;
    }
}
