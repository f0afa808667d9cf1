#pragma once

#include "windows/Schriftmass.h"

#include <QDateTime>
#include <QWidget>

#include <functional>

class QPlainTextEdit;
class QPushButton;
class SystemFacilities;

// "Rufmon - Tapi-Protokoll": every telephony event, one line each, while
// logging is on. The log lives only in the window and ends with it.
class frmProtokoll : public QWidget
{
    Q_OBJECT

public:
    // The design's smallest size, scaled with the window's font.
    static constexpr int MindestBreite = 7200; // twips
    static constexpr int MindestHoehe = 5100;  // twips
    // Days of logging stay quick to append to and to scroll; older lines go.
    static constexpr int MaxZeilen = 10000;

    explicit frmProtokoll(const SystemFacilities &system, QWidget *parent = nullptr);

    void PrintProtokoll(const QString &ereignis, const QString &werte);
    // The log as text, lines separated by CR LF; it starts with an empty line.
    QString Text() const;
    void setUhr(std::function<QDateTime()> uhr) { m_uhr = std::move(uhr); }

    void cmdReset_Click();
    void Form_Resize();

    QPlainTextEdit *txbProtokoll() const { return m_txbProtokoll; }
    QPushButton *cmdReset() const { return m_cmdReset; }
    QPushButton *cmdClose() const { return m_cmdClose; }

signals:
    // The window was closed, by its button, its close box or the program.
    void Geschlossen();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    int mindestPixelX() const;
    int mindestPixelY() const;

    const SystemFacilities &m_system;
    Schriftmass m_mass;
    std::function<QDateTime()> m_uhr;
    QPlainTextEdit *m_txbProtokoll;
    QPushButton *m_cmdReset;
    QPushButton *m_cmdClose;
};
