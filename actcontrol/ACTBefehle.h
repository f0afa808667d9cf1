#pragma once

#include <QString>

#include <functional>
#include <optional>

struct Anruf;
class Anruferliste;

class ListViewModel;
class clACTApplication;

// Showing a caller's contact, or a similar contact, in ACT!.
class ACTBefehle
{
public:
    // `meldung` sets the text of status panel 3; `timerStarten` starts ACT!'s timer.
    ACTBefehle(clACTApplication &act, std::function<void(const QString &)> meldung,
               std::function<void()> timerStarten = {});

    // `auswahl`: the selected call of the caller list, none when nothing is selected.
    void mnuACTAnzeigen(const Anruferliste &anrufe, const std::optional<Anruf> &auswahl);
    void mnuAehnlicheACTAnzeigen(const ListViewModel &lvKontakte, int auswahl);

private:
    void zeige(const QString &tag);

    clACTApplication &m_act;
    std::function<void(const QString &)> m_meldung;
    std::function<void()> m_timerStarten;
};
