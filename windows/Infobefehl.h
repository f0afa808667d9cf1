#pragma once

#include <QPointer>
#include <QWidget>

class SystemFacilities;
class topTapi;

// A click on the banner of the main window: the about box, modal.
class Infobefehl
{
public:
    Infobefehl(const topTapi &tapi, SystemFacilities &system, QWidget *hauptfenster);

    void imBanner_Click();

private:
    const topTapi &m_tapi;
    SystemFacilities &m_system;
    QPointer<QWidget> m_hauptfenster;
};
