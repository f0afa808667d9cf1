#include "actcontrol/ACTTimerstart.h"

#include "actcontrol/ACTBefehlsfenster.h"
#include "actcontrol/clACTApplication.h"
#include "actcontrol/clButtonGuard.h"

using namespace Qt::StringLiterals;

namespace {

// ACT!'s command number of its timer.
constexpr std::int32_t TimerBefehl = 310;

} // namespace

void ACTTimerStarten(clACTApplication &act, Desktop &desktop, ACTBefehlsfenster &fenster)
{
    if (!act.ACTgestartet() || act.ACTDatenbank().isEmpty() || act.aktuellerViewTyp() != 1)
        return;
    act.ExecuteCommand(TimerBefehl);
    fenster.atmen();
    clButtonGuard start(desktop);
    if (!start.SetConfiguration(u"&Start|button|Timer|#32770"_s))
        return;
    fenster.atmen();
    if (start.WindowExist())
        start.MouseClick();
    fenster.atmen();
    if (start.WindowExist())
        start.MouseClick();
}
