#pragma once

#include <QDialog>
#include <QPixmap>
#include <QTimer>

#include <cstdint>

class QLabel;
class SystemFacilities;
class topTapi;

// "Informationen über das Programm": the program's version, the telephony
// control's version, the credits scrolling by and the link to the manual.
// Closes on a click almost anywhere and on Esc.
class frmInfo : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Timer1Intervall = 40; // ms per row of the credits

    frmInfo(const topTapi &tapi, SystemFacilities &system, QWidget *parent = nullptr);

    // One row further through the credits; from the top again after the end.
    void Timer1_Timer();
    std::int32_t Scrollposition() const { return m_position; }
    // The whole credits picture, as wide as the box it scrolls in.
    const QPixmap &Creditsbild() const { return m_credits; }
    // The lines of the credits: authors role by role, then the libraries.
    static QStringList Creditszeilen();

    QLabel *lbVersion() const { return m_lbVersion; }
    QLabel *lbCopyright() const { return m_lbCopyright; }
    QLabel *lbLink() const { return m_lbLink; }
    QLabel *picScrollText() const { return m_picScrollText; }
    QTimer &Timer1() { return m_timer1; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void zeichneCredits();
    void zeigeZeile();
    void setLinkHervorgehoben(bool hervorgehoben);
    void lbLink_Click();

    const topTapi &m_tapi;
    SystemFacilities &m_system;
    QLabel *m_lbVersion;
    QLabel *m_lbCopyright;
    QLabel *m_lbLink;
    QLabel *m_picScrollText;
    QPixmap m_credits;
    QTimer m_timer1;
    std::int32_t m_position = 0;
};
