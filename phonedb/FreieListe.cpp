#include "phonedb/FreieListe.h"

#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/Recordset.h"

using namespace Qt::StringLiterals;

namespace {

const std::array<QString, 3> Spaltennamen = {u"Nummer"_s, u"Name"_s, u"Ort"_s};

// An empty cell is stored as Null, which the caller identification reads as
// "Unbekannt"; blanks around a number would keep it from ever matching.
QVariant speicherwert(const QString &text)
{
    const QString t = text.trimmed();
    return t.isEmpty() ? QVariant() : QVariant(t);
}

} // namespace

FreieListe::FreieListe(std::shared_ptr<Database> db)
    : m_db(std::move(db))
{
}

bool FreieListe::nutzbar(const std::shared_ptr<Database> &db)
{
    return db && db->isOpen();
}

QString FreieListe::gespeichert(const QString &wert)
{
    return speicherwert(wert).toString();
}

std::vector<FreieListe::Eintrag> FreieListe::alle() const
{
    std::vector<Eintrag> zeilen;
    auto rs = m_db->OpenRecordset(u"SELECT rowid AS ID, Nummer, Name, Ort FROM Liste ORDER BY rowid"_s, QVariantList());
    while (!rs->Eof()) {
        Eintrag z;
        z.id = rs->Wert(0).toLongLong();
        for (int s = 0; s < 3; ++s)
            z.werte[s] = rs->Wert(s + 1).toString();
        zeilen.push_back(std::move(z));
        rs->MoveNext();
    }
    rs->Close();
    return zeilen;
}

qint64 FreieListe::speichere(qint64 id, const Werte &werte)
{
    m_db->BeginTrans();
    try {
        // The row goes in through the engine's append, which checks every
        // value against its column; a changed row takes the place of the old one.
        if (id != 0)
            m_db->Execute(u"DELETE FROM Liste WHERE rowid = ?"_s, QVariantList{id});
        auto rs = m_db->OpenRecordset(u"Liste"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
        rs->AddNew();
        for (int s = 0; s < 3; ++s)
            rs->Fields()[Spaltennamen[s]].setValue(speicherwert(werte[s]));
        rs->Update();
        rs->Close();
        if (id != 0) {
            m_db->Execute(u"UPDATE Liste SET rowid = ? WHERE rowid = last_insert_rowid()"_s, QVariantList{id});
        } else {
            auto neu = m_db->OpenRecordset(u"SELECT last_insert_rowid() AS ID"_s, QVariantList());
            id = neu->Wert(0).toLongLong();
            neu->Close();
        }
        m_db->CommitTrans();
        return id;
    } catch (const JetFehler &) {
        try {
            m_db->Rollback();
        } catch (const JetFehler &) {
            // The engine has ended the transaction itself.
        }
        throw;
    }
}

void FreieListe::loesche(qint64 id)
{
    m_db->Execute(u"DELETE FROM Liste WHERE rowid = ?"_s, QVariantList{id});
}
