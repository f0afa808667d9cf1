#include "BenchDaten.h"

#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"

#include <QFile>

using namespace Qt::StringLiterals;

QString KopiereNummernMdb(const QString &ordner)
{
    const QString ziel = ordner + u"/Nummern.mdb"_s;
    QFile::remove(ziel);
    QFile::copy(QStringLiteral(RUFMON_NUMMERN_MDB), ziel);
    QFile::setPermissions(ziel, QFile::ReadOwner | QFile::WriteOwner);
    return ziel;
}

QStringList BenchNummern(int anzahl, const QString &nummernMdb, std::mt19937 &zufall)
{
    QStringList vorwahlen;
    {
        auto db = DBEngine::instance().OpenDatabase(nummernMdb, false, true);
        auto rs = db->OpenRecordset(u"SELECT Vorwahl FROM Deutschland"_s);
        while (!rs->Eof()) {
            vorwahlen << rs->Wert(0).toString();
            rs->MoveNext();
        }
        db->Close();
    }
    const QStringList ausland = {u"0043"_s, u"0041"_s, u"0033"_s, u"0039"_s, u"001"_s, u"0044"_s, u"00420"_s};
    std::uniform_int_distribution<int> art(0, 9);
    std::uniform_int_distribution<qsizetype> welche(0, vorwahlen.size() - 1);
    std::uniform_int_distribution<int> ziffer(0, 9);
    const auto ziffern = [&](int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar(u'0' + ziffer(zufall));
        return s;
    };
    QStringList nummern;
    for (int i = 0; i < anzahl; ++i) {
        const int a = art(zufall);
        if (a < 6)
            nummern << vorwahlen[welche(zufall)] + ziffern(6);
        else if (a < 7)
            nummern << u"0049"_s + vorwahlen[welche(zufall)].mid(1) + ziffern(6);
        else if (a < 8)
            nummern << u"0171"_s + ziffern(7);
        else
            nummern << ausland[a % ausland.size()] + u"3"_s + ziffern(8);
    }
    return nummern;
}
