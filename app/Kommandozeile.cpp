#include "app/Kommandozeile.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

Kommandozeile Kommandozeile::lies(const QStringList &argumente)
{
    Kommandozeile k;
    const auto fehler = [&k](const QString &argument) {
        k.aktion = Aktion::Fehler;
        k.fehler = argument;
        return k;
    };
    for (qsizetype i = 1; i < argumente.size(); ++i) {
        const QString &a = argumente[i];
        if (a == u"--help"_s || a == u"-h"_s) {
            k.aktion = Aktion::Hilfe;
            return k;
        }
        if (a == u"--version"_s) {
            k.aktion = Aktion::Version;
            return k;
        }
        if (a == u"--act"_s) {
            if (i + 1 >= argumente.size() || !k.actDatenbank.isEmpty())
                return fehler(a);
            k.actDatenbank = argumente[++i];
            continue;
        }
        if ((a == u"--anruf"_s || a == u"--verbunden"_s) && i == 1) {
            k.verbunden = a == u"--verbunden"_s;
            if (i + 1 >= argumente.size())
                return fehler(a);
            k.nummer = argumente[i + 1];
            qsizetype rest = i + 2;
            if (!k.verbunden && rest + 1 < argumente.size() && argumente[rest] == u"--name"_s) {
                k.name = argumente[rest + 1];
                rest += 2;
            }
            if (rest < argumente.size())
                return fehler(argumente[rest]);
            k.aktion = Aktion::Uebergabe;
            k.uebergabe = argumente.mid(1);
            return k;
        }
        if (a == u"--ort"_s && i == 1) {
            k.nummern = argumente.mid(i + 1);
            if (k.nummern.isEmpty())
                return fehler(a);
            k.aktion = Aktion::Ort;
            return k;
        }
        return fehler(a);
    }
    // A running program may have another working folder: it gets the path whole.
    if (!k.actDatenbank.isEmpty())
        k.actDatenbank = QFileInfo(k.actDatenbank).absoluteFilePath();
    k.uebergabe = k.actDatenbank.isEmpty() ? QStringList() : QStringList{u"--act"_s, k.actDatenbank};
    return k;
}

QString Kommandozeile::PruefeACTDatenbank(const QString &pfad)
{
    const QFileInfo datei(pfad);
    if (!datei.exists())
        return u"Die ACT!-Kontakttabelle „%1“ gibt es nicht."_s.arg(pfad);
    if (!datei.isFile())
        return u"„%1“ ist keine ACT!-Kontakttabelle, sondern ein Ordner."_s.arg(pfad);
    return {};
}

QString Kommandozeile::Verwendung()
{
    return u"Aufruf: rufmon [--act PFAD | --anruf NUMMER [--name NAME] | --verbunden NUMMER | --ort NUMMER... | --version | --help]\n"
           u"  --act PFAD          benutzt diese ACT!-Kontakttabelle (.dbf)\n"
           u"  rufmon              startet Rufmon (ein zweiter Start übergibt an das laufende Programm)\n"
           u"  --anruf NUMMER [--name NAME]  gibt dem laufenden Rufmon einen Anruf auf dem Simulator\n"
           u"  --verbunden NUMMER  gibt dem laufenden Rufmon eine verbundene Nummer auf dem Simulator\n"
           u"  --ort NUMMER...     zeigt, wie das Telefonbuch jede Nummer aufteilt (\"-\": Nummern von der Eingabe)\n"
           u"  --version           zeigt die Version\n"
           u"  --help              zeigt diese Hilfe\n"_s;
}
