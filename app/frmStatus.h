#pragma once

#include "windows/ImageList.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class Zentrierung;

// The small window that reports the steps of the start-up and of the cache
// build, with a banner that runs back and forth. It opens centred over the
// main window, as wide as its texts, and never reaches beyond the screen.
class frmStatus : public QWidget
{
    Q_OBJECT

public:
    explicit frmStatus(QWidget *parent = nullptr);
    ~frmStatus() override;

    void setHauptInfo(const QString &text);
    void setInfo(const QString &text);
    QString HauptInfo() const { return m_hauptInfo; }
    QString Info() const { return m_info; }

    int Bildnummer() const { return m_bild; }
    bool Vorwaerts() const { return m_vorwaerts; }
    // One step of the banner: 1, 2, ..., n, n-1, ..., 1, 2, ...
    void Timer1_Timer();

private:
    void zeigeBild();
    void zeigeTexte();
    // Wider for a longer text (never narrower while it is open, so that it
    // does not jump from step to step), at most as wide as the screen allows.
    void passeGroesseAn();

    QLabel *m_lbHauptInfo;
    QLabel *m_lbInfo;
    QLabel *m_imBanner;
    ImageList m_ilBanner;
    QTimer m_timer1;
    QString m_hauptInfo;
    QString m_info;
    int m_bild = 1;
    bool m_vorwaerts = true;
    Zentrierung *m_zentrierung = nullptr;
};
