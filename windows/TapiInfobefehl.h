#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class topTapi;

// Driver menu "Treiber &Informationen": the driver information, modal.
class TapiInfobefehl
{
public:
    // `letzterAnruf`: the record of the last incoming call, empty before any.
    TapiInfobefehl(const topTapi &tapi, std::function<QString()> letzterAnruf, QWidget *hauptfenster);

    void mnuTapiInfos();

private:
    const topTapi &m_tapi;
    std::function<QString()> m_letzterAnruf;
    QPointer<QWidget> m_hauptfenster;
};
