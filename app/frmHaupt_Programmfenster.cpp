// The main window as the program's parts see it (Programmfenster).
#include "app/frmHaupt.h"

#include "actcontrol/Protokollaufzeichnung.h"
#include "app/frmStatus.h"
#include "core/Anruf.h"
#include "windows/Anruferlistenansicht.h"
#include "windows/ListView.h"
#include "windows/StatusPanel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace {

// The pictures of the ACT! panel in the window's icon list.
constexpr int BildBereit = 6;
constexpr int BildNichtBereit = 8;

} // namespace

void frmHaupt::setMeldung(const QString &text)
{
    Panel(Statusfeld::Meldung)->setText(text);
}

void frmHaupt::setACTPruefungAktiv(bool aktiv)
{
    m_timerACT.setEnabled(aktiv);
}

void frmHaupt::warten(int millisekunden)
{
    Protokollaufzeichnung::wartenUndAtmen(millisekunden);
}

void frmHaupt::setWaehlhinweis(const QString &text)
{
    m_Text1->setToolTip(text);
}

int frmHaupt::Adresse() const
{
    return m_cbxAddress->currentIndex();
}

bool frmHaupt::waehleAnruf(quint64 eintrag)
{
    const int zeile = m_lvNummern->Modell().Zeile(eintrag);
    if (zeile < 0)
        return false;
    m_lvNummern->setSelectedIndex(zeile);
    return true;
}

std::vector<Anruf> frmHaupt::Anrufe() const
{
    return m_lvNummern->Modell().InZeilenfolge();
}

const ListViewModel &frmHaupt::AehnlicheKontakte() const
{
    return m_lvKontakte->Items();
}

int frmHaupt::gewaehlterKontakt() const
{
    return m_lvKontakte->SelectedIndex();
}

void frmHaupt::setACTText(const QString &text)
{
    Panel(Statusfeld::ACT)->setText(text);
}

void frmHaupt::setACTBereit(bool bereit)
{
    const int bild = bereit ? BildBereit : BildNichtBereit;
    Panel(Statusfeld::ACT)->setPicture(m_ilIcons.Picture(bild), bild);
}

void frmHaupt::setACTHinweis(const QString &text)
{
    Panel(Statusfeld::ACT)->setToolTipText(text);
}

void frmHaupt::setCachebau(bool laeuft)
{
    StatusPanel *panel = Panel(Statusfeld::Telefon);
    if (laeuft) {
        m_cachebauText = panel->Text();
        m_cachebauBreite = panel->width();
        panel->setFixedWidth(statusBar()->width());
        panel->setText(u"Initialisiere Nummern-Cache"_s);
    } else {
        panel->setFixedWidth(m_cachebauBreite);
        panel->setText(m_cachebauText);
    }
}

void frmHaupt::setCachebauStand(const QString &text)
{
    if (frmStatus *s = Statusfenster())
        s->setInfo(text);
    else
        Panel(Statusfeld::Telefon)->setText(text);
}

void frmHaupt::setCacheErneuerung(bool laeuft)
{
    if (laeuft) {
        setEnabled(false);
        Menu(Menuepunkt::mnuCacheNeu)->setEnabled(false);
        StatusfensterZeigen(u"Nummern-Cache..."_s);
    } else {
        StatusfensterSchliessen();
        setEnabled(true);
        Menu(Menuepunkt::mnuCacheNeu)->setEnabled(true);
    }
}

void frmHaupt::setWartecursor(bool an)
{
    if (an)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmHaupt::Beenden()
{
    close();
}
