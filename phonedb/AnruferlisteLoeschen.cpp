#include "phonedb/AnruferlisteLoeschen.h"

#include "core/Anruferliste.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/jet/JetFehler.h"

using namespace Qt::StringLiterals;

namespace {

const QString Titel = u"Rufmon - Anruferliste löschen"_s;

} // namespace

AnruferlisteLoeschen::AnruferlisteLoeschen(Dialogs &dialogs, clRufmonDaten &daten, Anruferliste &anrufe)
    : m_dialogs(dialogs)
    , m_daten(daten)
    , m_liste(anrufe)
{
}

bool AnruferlisteLoeschen::mnuAlleLoeschen()
{
    if (m_liste.Anzahl() == 0)
        return false;
    return loeschen(u"Sollen alle Einträge gelöscht werden ?", -1);
}

bool AnruferlisteLoeschen::mnuTagLoeschen()
{
    return loeschen(u"Sollen alle Einträge gelöscht werden, die älter als ein Tag sind ?", 1);
}

bool AnruferlisteLoeschen::mnuWocheLoeschen()
{
    return loeschen(u"Sollen alle Einträge gelöscht werden, die älter als eine Woche sind ?", 7);
}

bool AnruferlisteLoeschen::loeschen(const char16_t *frage, int tage)
{
    const auto antwort = m_dialogs.MsgBox(QString::fromUtf16(frage), Dialogs::Buttons::YesNo,
                                          Dialogs::Icon::Question, Titel);
    try {
        if (antwort == Dialogs::Answer::Yes)
            m_daten.LoescheAnruferliste(tage);
        m_daten.leseMDBinListview(m_liste);
    } catch (const JetFehler &e) {
        // The list shows what the table holds; a failure says so instead of ending the program.
        m_dialogs.MsgBox(u"Fehler beim Löschen der Anruferliste"_s + u"\r\n"_s + u"Fehlernummer: "_s
                             + QString::number(e.Number()) + u"\r\n"_s + u"Fehlerbeschreibung: "_s + e.Description(),
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
    }
    return true;
}
