#include "app/OrtAusgabe.h"

#include "phonedb/clRufmonDaten.h"
#include "platform/jet/JetFehler.h"

#include <QByteArray>

using namespace Qt::StringLiterals;

namespace {

bool eine(clRufmonDaten &daten, const QString &nummer, std::FILE *aus, std::FILE *fehler)
{
    QString laendervorwahl, vorwahl, anschluss, land, ort;
    try {
        daten.BestimmeVorwahlAnschlussOrtLand(nummer, laendervorwahl, vorwahl, anschluss, land, ort);
    } catch (const JetFehler &e) {
        std::fprintf(fehler, "rufmon: %s: Fehler %ld: %s\n", nummer.toUtf8().constData(), e.Number(),
                     e.Description().toUtf8().constData());
        return false;
    }
    const QByteArray block = (u"Laendervorwahl: "_s + laendervorwahl + u"\nVorwahl: "_s + vorwahl + u"\nAnschluss: "_s
                              + anschluss + u"\nLand: "_s + land + u"\nOrt: "_s + ort + u"\n\n"_s)
                                 .toUtf8();
    std::fwrite(block.constData(), 1, static_cast<std::size_t>(block.size()), aus);
    return true;
}

} // namespace

int OrtAusgabe(clRufmonDaten &daten, const QStringList &nummern, std::FILE *ein, std::FILE *aus, std::FILE *fehler)
{
    if (!daten.istOffen())
        return 1;
    bool alleGut = true;
    if (nummern == QStringList{u"-"_s}) {
        char zeile[4096];
        while (std::fgets(zeile, sizeof zeile, ein)) {
            const QString nummer = QString::fromUtf8(zeile).trimmed();
            if (!nummer.isEmpty())
                alleGut = eine(daten, nummer, aus, fehler) && alleGut;
        }
    } else {
        for (const QString &nummer : nummern)
            alleGut = eine(daten, nummer, aus, fehler) && alleGut;
    }
    std::fflush(aus);
    return alleGut ? 0 : 1;
}
