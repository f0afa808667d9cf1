#pragma once

#include "platform/teamjournal/Journalzeile.h"
#include "platform/teamjournal/Teamfilter.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableView;
class TeamAnrufeModell;

// "Anrufe im Team": the calls of every desk from the team journal, newest
// first, filtered by desk, missed calls only, or a search text. The window
// asks (Abfrage) and shows what it is given; a new call anywhere asks again.
class frmAnrufeImTeam : public QWidget
{
    Q_OBJECT

public:
    explicit frmAnrufeImTeam(QWidget *parent = nullptr);
    ~frmAnrufeImTeam() override;

    Teamfilter Filter() const;
    // The journal's answer: the calls and the desks that wrote.
    void zeige(const QList<Journalzeile> &zeilen, const QStringList &arbeitsplaetze);
    void setZustand(bool erreichbar, const QString &text);
    // Another call reached the journal: asked again, a moment later so
    // that a burst is one query.
    void Neu();

    TeamAnrufeModell &Modell() { return *m_modell; }
    QTableView *lvTeamAnrufe() const { return m_liste; }
    QComboBox *cbxArbeitsplatz() const { return m_arbeitsplatz; }
    QCheckBox *chkVerpasst() const { return m_verpasst; }
    QLineEdit *txbSuche() const { return m_suche; }
    QLabel *lbZustand() const { return m_zustand; }

signals:
    void Abfrage(const Teamfilter &filter);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fragen();

    std::unique_ptr<TeamAnrufeModell> m_modell;
    QTableView *m_liste;
    QComboBox *m_arbeitsplatz;
    QCheckBox *m_verpasst;
    QLineEdit *m_suche;
    QSpinBox *m_tage;
    QLabel *m_zustand;
    QTimer m_verzoegerung;
};
