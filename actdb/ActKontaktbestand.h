#pragma once

#include "core/Kontaktbestand.h"

#include <QByteArray>
#include <QStringList>

#include <memory>

class Recordset;
class Zeilenleser;
class clActDBF;

// ACT!'s contacts as the number cache copies them: the rows of the contact
// table read straight from its file where every field is a character field,
// else through the statement over the table.
class ActKontaktbestand : public Kontaktbestand
{
public:
    // Reads through `dbf`, whose table is open, and closes it at the end.
    ActKontaktbestand(std::unique_ptr<clActDBF> dbf, const QStringList &telefonfelder);
    ~ActKontaktbestand() override;

    const Werte *naechster() override;
    QString fehler() const override;
    qint64 ungefaehreAnzahl() const override;
    int laenge(std::size_t stelle) const override;

private:
    const Werte *ausDerAnweisung();

    std::unique_ptr<clActDBF> m_dbf;
    std::unique_ptr<Recordset> m_quelle;
    std::unique_ptr<Zeilenleser> m_direkt;
    std::vector<int> m_laengen;
    qint64 m_anzahl = 0;
    QString m_fehler;
    bool m_erster = true;
    std::vector<QByteArray> m_texte;
    Werte m_werte;
};
