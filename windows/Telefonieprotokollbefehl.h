#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class Optionsschalter;
class SystemFacilities;
class frmProtokoll;

// Driver menu "&Protokoll": shows and closes the telephony log and writes
// the event lines into it. The option "Protokoll" is the switch, and the
// menu item shows it; the window takes it off when it closes, however it is closed.
class Telefonieprotokollbefehl : public QObject
{
    Q_OBJECT

public:
    Telefonieprotokollbefehl(const SystemFacilities &system, Optionsschalter &schalter, QWidget *hauptfenster,
                             QObject *parent = nullptr);
    ~Telefonieprotokollbefehl() override;

    // `warGesetzt`: the option before the user chose the item.
    void mnuTAPIProtokoll(bool warGesetzt);
    // A line for the log; nothing while the window is closed.
    void PrintProtokoll(const QString &ereignis, const QString &werte);
    // Closes the window (program exit).
    void Schliessen();
    frmProtokoll *Fenster() const;

private:
    const SystemFacilities &m_system;
    Optionsschalter &m_schalter;
    QPointer<QWidget> m_hauptfenster;
    QPointer<frmProtokoll> m_fenster;
};
