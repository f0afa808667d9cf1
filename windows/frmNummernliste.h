#pragma once

#include <QDialog>

#include <memory>

class Database;
class Dialogs;
class NummernlisteModell;
class QPushButton;
class QTableView;

// "Rufmon Nummernliste": the free list of numbers with names and places,
// which the caller identification reads when no contact has the number.
// A row is saved when the user leaves it, with OK, or when the window is
// closed; a row that cannot be saved stays on screen as the user typed it.
class frmNummernliste : public QDialog
{
    Q_OBJECT

public:
    frmNummernliste(Dialogs &dialogs, std::shared_ptr<Database> db, QWidget *parent = nullptr);
    ~frmNummernliste() override;

    // Reads the list; false (with a message shown) when it cannot be read.
    bool Form_Load();
    // Saves the row being edited and closes.
    void cmOK_Click();
    // Saves one row; false (with a message shown) when it failed.
    bool ZeileSpeichern(int row);
    // Asks, then deletes the row from the table.
    void ZeileLoeschen(int row);

    QTableView *dbgNummern() const { return m_dbgNummern; }
    QPushButton *cmOK() const { return m_cmOK; }
    NummernlisteModell &Modell() { return *m_modell; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void zeileVerlassen(int row);
    void eingabeUebernehmen();
    bool alleSpeichern();
    void zeigeZeile(int row);
    void meldeFehler(const QString &was, long nummer, const QString &beschreibung);

    Dialogs &m_dialogs;
    std::shared_ptr<Database> m_db;
    std::unique_ptr<NummernlisteModell> m_modell;
    QTableView *m_dbgNummern;
    QPushButton *m_cmOK;
    bool m_zurueck = false; // returning to a row that could not be saved
    bool m_entfernen = false; // a row is being deleted or taken back
};
