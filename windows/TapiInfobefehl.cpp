#include "windows/TapiInfobefehl.h"

#include "telephony/Treiberinformation.h"
#include "windows/frmTapiInfo.h"

TapiInfobefehl::TapiInfobefehl(const topTapi &tapi, std::function<QString()> letzterAnruf, QWidget *hauptfenster)
    : m_tapi(tapi)
    , m_letzterAnruf(std::move(letzterAnruf))
    , m_hauptfenster(hauptfenster)
{
}

void TapiInfobefehl::mnuTapiInfos()
{
    frmTapiInfo fenster(m_hauptfenster);
    fenster.setInfo(Treiberinformation(m_tapi, m_letzterAnruf ? m_letzterAnruf() : QString()));
    fenster.exec();
}
