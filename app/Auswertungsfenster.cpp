#include "app/Auswertungsfenster.h"

#include "app/frmHaupt.h"
#include "core/Anruferliste.h"
#include "windows/Anruferlistenansicht.h"
#include "windows/StatusPanel.h"
#include "windows/modListviewSort.h"
#include "windows/modScrollTo.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

using namespace Qt::StringLiterals;

Auswertungsfenster::Auswertungsfenster(frmHaupt &fenster)
    : m_fenster(fenster)
{
}

void Auswertungsfenster::setMeldung(const QString &text)
{
    m_fenster.Panel(frmHaupt::Statusfeld::Meldung)->setText(text);
}

void Auswertungsfenster::setWartecursor(bool an)
{
    if (an)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void Auswertungsfenster::nachVorne()
{
    if (m_fenster.isMinimized() || m_fenster.ImInfobereich())
        m_fenster.showNormal();
    m_fenster.raise();
    m_fenster.activateWindow();
    // Topmost for a moment, so the call is seen over other windows; no move,
    // no resize. Taken back on the next turn of the event loop, once the
    // window system has seen it.
    if (QWindow *w = m_fenster.windowHandle()) {
        w->setFlag(Qt::WindowStaysOnTopHint, true);
        QTimer::singleShot(0, w, [w] { w->setFlag(Qt::WindowStaysOnTopHint, false); });
    }
}

void Auswertungsfenster::setMonitorKnopfAktiv(bool aktiv)
{
    m_fenster.cmdInitTapi()->setEnabled(aktiv);
}

void Auswertungsfenster::setACTPruefungAktiv(bool aktiv)
{
    m_fenster.TimerACT().setEnabled(aktiv);
}

void Auswertungsfenster::zeigeNeuenAnruf()
{
    // Calls are listed by date: a list the user sorted by another column goes
    // back to newest first, so that the new call is not lost mid-list; one
    // turned to oldest first stays so. The new call is selected wherever it
    // stands, so that the next command acts on it and not on an older one.
    Anruferlistenansicht &liste = *m_fenster.lvNummern();
    const int datum = liste.Modell().columnByKey(u"Datum"_s);
    // Already in date order, the list has put the call in its place itself:
    // a call costs the same however long the list has grown.
    const bool nachDatum = datum >= 0 && liste.SortKey() == datum && liste.Modell().NachDatum();
    if (datum >= 0 && !nachDatum)
        modListviewSort::SortColumn(liste, datum, false);
    const int neu = liste.Modell().Zeile(liste.Anrufe().ZuletztHinzugefuegt());
    ScrollTo(liste, neu);
    liste.setSelectedIndex(neu);
}

QString Auswertungsfenster::Suchdauer() const
{
    return m_fenster.lbID()->toolTip();
}

void Auswertungsfenster::setSuchdauer(const QString &text)
{
    m_fenster.lbID()->setToolTip(text);
}

void Auswertungsfenster::setCacheMeldung(const QString &text)
{
    m_fenster.lbID()->setText(text);
}

void Auswertungsfenster::NummernCacheAbschalten()
{
    m_fenster.SchalteNummernCache(false);
}

void Auswertungsfenster::setAnrufeWartend(bool)
{
    // The window is drawn by the event loop between the identification's
    // steps, however many calls wait: nothing to hold back in a burst.
}
