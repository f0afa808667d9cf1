#include "Beispielkontakte.h"

#include "core/modHaupt.h"
#include "tools/actgen/ActGenerator.h"

using namespace Qt::StringLiterals;

Beispielkontakte Beispielkontakte::schreibe(const QString &ordner, int weitere)
{
    Beispielkontakte b;
    ActGenerator g;
    g.options().seed = 9;
    g.options().contacts = 300 + weitere;
    ActGenerator::Contact c;
    c.firstName = u"Greta"_s;
    c.lastName = u"Grünwald"_s;
    c.city = u"Berlin"_s;
    c.company = u"Grünwald & Söhne"_s;
    c.phone = u"0301234567"_s;
    b.greta = g.addKnownContact(c);
    for (int i = 0; i < 4; ++i) {
        ActGenerator::Contact n;
        n.lastName = u"Nachbar %1"_s.arg(i);
        n.fax = u"03012345%1"_s.arg(10 + i * 11);
        g.addKnownContact(n);
    }
    for (int i = 0; i < weitere; ++i) {
        ActGenerator::Contact k;
        k.lastName = u"Kunde %1"_s.arg(i);
        const QString nummer = u"021297%1"_s.arg(i, 4, 10, QChar(u'0'));
        (i % 2 ? k.mobilePhone : k.homePhone) = nummer;
        b.kunden << nummer + u' ' + IDInKlammern(g.addKnownContact(k));
    }
    if (g.write(ordner))
        b.tabelle = g.summary().dbfPath;
    return b;
}
