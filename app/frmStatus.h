#pragma once

#include "windows/ImageList.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class SystemFacilities;

// The small window that reports the steps of the start-up, with a banner
// that runs back and forth.
class frmStatus : public QWidget
{
    Q_OBJECT

public:
    explicit frmStatus(const SystemFacilities &system, QWidget *parent = nullptr);
    ~frmStatus() override;

    void setHauptInfo(const QString &text);
    void setInfo(const QString &text);
    QString Info() const;

    int Bildnummer() const { return m_bild; }
    bool Vorwaerts() const { return m_vorwaerts; }
    // One step of the banner: 1, 2, ..., n, n-1, ..., 1, 2, ...
    void Timer1_Timer();

private:
    void zeigeBild();

    const SystemFacilities &m_system;
    QLabel *m_lbHauptInfo;
    QLabel *m_lbInfo;
    QLabel *m_imBanner;
    ImageList m_ilBanner;
    QTimer m_timer1;
    int m_bild = 1;
    bool m_vorwaerts = true;
};
