#pragma once

#include "actdb/Telefonfeldliste.h"
#include "windows/ImageList.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class Dialogs;
class ListView;
class QGroupBox;
class QPushButton;
class QStatusBar;
class StatusPanel;
class clActDBF;
class modOptionen;

// "Auswahl der Telefonfelder": which phone fields the caller search uses,
// and how many numbers each holds. The window is kept (hidden) after its
// first use, since its list is the program's record of the phone fields.
class frmTelefonfelder : public QDialog
{
    Q_OBJECT

public:
    frmTelefonfelder(Dialogs &dialogs, modOptionen &optionen, clActDBF &actDBF,
                     std::function<QString()> datenbankpfad, QWidget *parent = nullptr);
    ~frmTelefonfelder() override;

    void FelderSetzen(const std::vector<clACTFeld> &felder, const QString &ausschlussfelder);
    QString AusgewaehlteFelder() const;
    QString Bezeichnung(const QString &feldname) const;
    // The record of the phone fields that this window shows and edits.
    const Telefonfeldliste &Liste() const { return *m_liste; }

    void Form_Load();
    void cmdAnzahl_Click();
    void cmdOK_Click();

    QString Statustext() const;

signals:
    // Every text the status panel shows, also those shown only for a moment.
    void Statusmeldung(const QString &text);

private:
    void erstelleSteuerelemente();
    void setzeStatustext(const QString &text);
    void lvTelefonfelder_ColumnClick(int column);
    void lvTelefonfelder_ItemCheck();

    Dialogs &m_dialogs;
    modOptionen &m_optionen;
    clActDBF &m_actDBF;
    std::function<QString()> m_datenbankpfad;
    ImageList m_ilSortierung;
    QGroupBox *m_frTelefonfelder = nullptr;
    ListView *m_lvTelefonfelder = nullptr;
    QPushButton *m_cmdAnzahl = nullptr;
    QPushButton *m_cmdOK = nullptr;
    QStatusBar *m_statusBar = nullptr;
    StatusPanel *m_panel1 = nullptr;
    std::unique_ptr<Telefonfeldliste> m_liste;
    bool m_zaehlt = false;
};
