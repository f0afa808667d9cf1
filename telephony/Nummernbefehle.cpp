#include "telephony/Nummernbefehle.h"

#include "core/Optionsschalter.h"
#include "core/modOptionen.h"
#include "platform/dialogs/Dialogs.h"
#include "telephony/Leitungsfenster.h"

using namespace Qt::StringLiterals;

Nummernbefehle::Nummernbefehle(Leitungsfenster &fenster, Dialogs &dialogs, modOptionen &optionen,
                               Optionsschalter &schalter)
    : m_fenster(fenster)
    , m_dialogs(dialogs)
    , m_optionen(optionen)
    , m_schalter(schalter)
    , m_filtertext(optionen.leseText(u"Nummernfilter"_s))
{
}

void Nummernbefehle::mnuNummernfilter()
{
    const QString titel = u"Rufmon - Nummernfilter"_s;
    const std::optional<QString> antwort = m_dialogs.InputBox(
        u"Bitte geben Sie die Nummer(n) ein, auf die Rufmon nicht reagieren soll."_s, titel, m_filtertext);
    const QString text = antwort.value_or(QString());
    QString neu;
    if (text.isEmpty()) {
        if (m_filtertext.isEmpty())
            return;
        const auto frage = m_dialogs.MsgBox(u"Wollen Sie den Nummernfilter wirklich löschen?"_s,
                                            Dialogs::Buttons::YesNo, Dialogs::Icon::Question, titel);
        if (frage != Dialogs::Answer::Yes)
            return;
    } else {
        neu = Nummernaufbereitung::Filtereingabe(text);
    }
    m_filtertext = neu;
    m_optionen.schreibOption(u"Nummernfilter"_s, neu);
}

void Nummernbefehle::mnuTapiNull(bool warGesetzt)
{
    m_schalter.setzen(Optionsschalter::Schalter::PraefixHinzufuegen, !warGesetzt);
    m_schalter.setzen(Optionsschalter::Schalter::PraefixEntfernen, false);
}

void Nummernbefehle::mnuTAPINullEntfernen(bool warGesetzt)
{
    m_schalter.setzen(Optionsschalter::Schalter::PraefixEntfernen, !warGesetzt);
    m_schalter.setzen(Optionsschalter::Schalter::PraefixHinzufuegen, false);
}

void Nummernbefehle::mnuTapiNullAendern()
{
    const QString alt = m_optionen.leseText(u"Prefix"_s);
    const std::optional<QString> antwort
        = m_dialogs.InputBox(u"Bitte geben Sie das Präfix ein."_s, u"Rufmon - Präfix"_s, alt);
    const QString neu = antwort.value_or(QString());
    if (neu.isEmpty() || neu == alt)
        return;
    m_optionen.schreibOption(u"Prefix"_s, neu);
    m_fenster.setMenueText(Menuepunkt::mnuTapiNull, u"Präfix ("_s + neu + u") hin&zufügen"_s);
    m_fenster.setMenueText(Menuepunkt::mnuTAPINullEntfernen, u"Präfix ("_s + neu + u") ent&fernen"_s);
    m_fenster.setMenueText(Menuepunkt::mnuTapiNullAendern, u"Präfix ("_s + neu + u") än&dern"_s);
}

Nummernaufbereitung::Einstellungen Nummernbefehle::Einstellungen() const
{
    Nummernaufbereitung::Einstellungen e;
    e.Filtertext = m_filtertext;
    e.PlusKlammerFilter = m_schalter.gesetzt(Optionsschalter::Schalter::PlusKlammerFilter);
    e.PraefixHinzufuegen = m_schalter.gesetzt(Optionsschalter::Schalter::PraefixHinzufuegen);
    e.PraefixEntfernen = m_schalter.gesetzt(Optionsschalter::Schalter::PraefixEntfernen);
    e.Praefix = m_optionen.leseText(u"Prefix"_s);
    return e;
}
