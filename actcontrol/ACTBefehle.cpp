#include "actcontrol/ACTBefehle.h"

#include "actcontrol/ACTBefehlsfenster.h"
#include "actcontrol/clACTApplication.h"
#include "core/Anruferliste.h"
#include "core/ListViewModel.h"
#include "core/modHaupt.h"

using namespace Qt::StringLiterals;

ACTBefehle::ACTBefehle(clACTApplication &act, ACTBefehlsfenster &fenster, QObject *parent)
    : QObject(parent)
    , m_act(act)
    , m_fenster(fenster)
{
}

void ACTBefehle::zeige(const QString &tag)
{
    const QString id = IDAusKlammern(tag);
    m_act.Zeigen();
    m_act.gehezuKonatkt(id);
    emit KontaktGezeigt();
    m_fenster.setMeldung(QString());
}

void ACTBefehle::mnuACTAnzeigen(const Anruferliste &anrufe, const std::optional<Anruf> &auswahl)
{
    if (anrufe.Anzahl() == 0) {
        m_fenster.setMeldung(u"Kein Einträge in Anruferliste!"_s);
        return;
    }
    if (!auswahl)
        return;
    if (!auswahl->erkannt()) {
        m_fenster.setMeldung(u"Kein ACT! Kontakt!"_s);
        return;
    }
    zeige(auswahl->Tag());
}

void ACTBefehle::mnuAehnlicheACTAnzeigen(const ListViewModel &lvKontakte, int auswahl)
{
    if (lvKontakte.Count() == 0) {
        m_fenster.setMeldung(u"Keine Einträge in Kontaktliste!"_s);
        return;
    }
    if (auswahl < 0 || auswahl >= lvKontakte.Count())
        return;
    zeige(lvKontakte.Item(auswahl).Tag);
}
