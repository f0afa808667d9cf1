#pragma once

#include "core/Kontaktquelle.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

struct Anruf;

class Anrufereignisse;
class Auswertungsanzeige;
class Dialogs;
class Kontaktsuche;
class Optionsschalter;
class ListViewModel;
class SystemFacilities;
class clRufmonDaten;
class modOptionen;

// The contacts whose phone fields contain the caller's area code followed by
// the first digits of the subscriber number, listed below the caller list.
// The source is searched on the search thread; the list is filled here when
// it answers.
class AehnlicheNummern : public QObject
{
    Q_OBJECT

public:
    struct Teile
    {
        Auswertungsanzeige &anzeige;
        ListViewModel &kontakte;
        Anrufereignisse &ereignisse;
        Kontaktsuche &suche;
        clRufmonDaten &telefondaten;
        Dialogs &dialogs;
        const modOptionen &optionen;
        const SystemFacilities &system;
        const Optionsschalter &schalter;
    };

    explicit AehnlicheNummern(const Teile &teile, QObject *parent = nullptr);
    ~AehnlicheNummern() override;

    // Starts the search; false when none starts (one runs, the menu item is
    // off, the number is too short). The end of one started is told by Beendet.
    bool SucheAehnlicheNummern(const QString &Vorwahl, const QString &Anschluss);
    // The caller list's command: the selected call's number, split and searched.
    void mnuSuche_aehnliche(const std::optional<Anruf> &auswahl);
    bool laeuft() const { return m_laeuft; }

signals:
    // The list shows what the search found.
    void Beendet();

private:
    struct Ergebnis
    {
        Kontaktquelle::Oeffnung::Zustand zustand = Kontaktquelle::Oeffnung::Zustand::NichtBereit;
        QString meldung;
        Kontaktsuchlauf::Aehnliche gefunden;
        std::int32_t dauer = 0;
    };

    void suche(const QString &Vorwahl, const QString &Anschluss);
    void gesucht(const Ergebnis &ergebnis);

    Teile m_t;
    // One search at a time: a call or the menu does not start a second.
    bool m_laeuft = false;
    QString m_anfang; // "(030) 123..." of the search that runs
};
