#include "app/Auswertungsfenster.h"

#include "app/frmHaupt.h"
#include "windows/ListView.h"
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
    // A list sorted by date keeps that order; otherwise its own sorting, if on.
    ListView &liste = *m_fenster.lvNummern();
    const ListViewModel &eintraege = liste.Items();
    const int datum = eintraege.columnByKey(u"Datum"_s);
    if (datum >= 0 && eintraege.columns()[datum].IconKey != u"Leer"_s
        && !eintraege.columns()[datum].IconKey.isEmpty())
        modListviewSort::SortColumn(liste, datum, false);
    else if (liste.Sorted())
        liste.sortByText();
    ScrollTo(liste, 0);
    liste.setSelectedIndex(0);
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

bool Auswertungsfenster::MenueGesetzt(Menuepunkt punkt) const
{
    return m_fenster.MenueGesetzt(punkt);
}

void Auswertungsfenster::atmen()
{
    m_fenster.atmen();
}
