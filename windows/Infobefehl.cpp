#include "windows/Infobefehl.h"

#include "windows/frmInfo.h"

Infobefehl::Infobefehl(const topTapi &tapi, SystemFacilities &system, QWidget *hauptfenster)
    : m_tapi(tapi)
    , m_system(system)
    , m_hauptfenster(hauptfenster)
{
}

void Infobefehl::imBanner_Click()
{
    frmInfo fenster(m_tapi, m_system, m_hauptfenster);
    fenster.exec();
}
