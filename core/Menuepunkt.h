#pragma once

#include <QString>

// Every item of the main window's menus, named as its object is named, so
// that the subsystems reach an item by a name the compiler checks. The list
// is written once; the enumerators and the object names come from it.
#define RUFMON_MENUEPUNKTE(X) \
    X(mnuProgramm) \
    X(mnuTAPI) \
    X(mnuCacheNeu) \
    X(mnuOptionen) \
    X(mnuAutoNummern) \
    X(mnuVerbundeneNummern) \
    X(mnuAutoTimer) \
    X(mnuBlank01) \
    X(mnuTelefonfelder) \
    X(mnuNummern) \
    X(mnuNummernfilter) \
    X(mnuACTDatenbank) \
    X(mnuStartoptionen) \
    X(mnuAutostart) \
    X(mnuBenachrichtigung) \
    X(mnuTapiAktivieren) \
    X(mnuFensterMin) \
    X(mnuNummernCache) \
    X(mnuNummernCacheAutomatisch) \
    X(mnuTapiTreiber) \
    X(mnuTapiInfos) \
    X(mnuTapiEinstellungen) \
    X(mnuLeitungHinzufuegen) \
    X(mnuLeitungEntfernen) \
    X(mnuTapiWaehlregeln) \
    X(mnuTAPIProtokoll) \
    X(mnuBlank02) \
    X(mnuTapiNullAendern) \
    X(mnuTapiNull) \
    X(mnuTAPINullEntfernen) \
    X(mnuBlank03) \
    X(mnuTAPIPlusKlammerFilter) \
    X(mnuKeineNullBeimSuchen) \
    X(mnuBeenden) \
    X(mnuPopupListe) \
    X(mnuACTAnzeigen) \
    X(mnuACTProtokollAufzeichnen) \
    X(mnuPopupListeBlank01) \
    X(mnuKopieren) \
    X(mnuKopiereKontaktNummer) \
    X(mnuKopierenTrennlinie) \
    X(mnuKopiereNummer) \
    X(mnuKopiereOrt) \
    X(mnuKopiereKontakt) \
    X(mnuEintraege) \
    X(mnuAlleLoeschen) \
    X(mnuTagLoeschen) \
    X(mnuWocheLoeschen) \
    X(mnuPopupListeBlank02) \
    X(mnuSuche_aehnliche) \
    X(mnuNummerAnwaehlen) \
    X(mnuPopupListeBlank03) \
    X(mnuAnruferlisteExportieren) \
    X(mnuAnrufeImTeam) \
    X(mnuStatusKopieren) \
    X(mnuCopyStatus) \
    X(mnuMenueAehnliche) \
    X(mnuAehnlicheACTAnzeigen) \
    X(mnuAehnlicheACTProtokollAufzeichnen) \
    X(mnuMenueAehnlicheBlank01) \
    X(mnuAehnlicheNummerAnwaehlen)

enum class Menuepunkt {
#define RUFMON_MENUEPUNKT_ENUM(name) name,
    RUFMON_MENUEPUNKTE(RUFMON_MENUEPUNKT_ENUM)
#undef RUFMON_MENUEPUNKT_ENUM
};

inline constexpr int AnzahlMenuepunkte = 0
#define RUFMON_MENUEPUNKT_ZAEHLEN(name) +1
    RUFMON_MENUEPUNKTE(RUFMON_MENUEPUNKT_ZAEHLEN)
#undef RUFMON_MENUEPUNKT_ZAEHLEN
    ;

// The item's object name ("mnuNummernCache").
QString Objektname(Menuepunkt punkt);
