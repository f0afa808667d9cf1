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
    // Topmost for a moment, so the call is seen over other windows; no move, no resize.
    if (QWindow *w = m_fenster.windowHandle()) {
        w->setFlag(Qt::WindowStaysOnTopHint, true);
        m_fenster.atmen();
        w->setFlag(Qt::WindowStaysOnTopHint, false);
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

void Auswertungsfenster::atmen()
{
    // In a burst the window is drawn a few times a second, not after every
    // step of every call: drawing it would cost more than the calls.
    constexpr qint64 SchwallTaktMs = 50;
    if (m_anrufeWartend && m_seitAtmen.isValid() && m_seitAtmen.elapsed() < SchwallTaktMs)
        return;
    m_seitAtmen.start();
    m_fenster.atmen();
}

void Auswertungsfenster::setAnrufeWartend(bool wartend)
{
    m_anrufeWartend = wartend;
}
