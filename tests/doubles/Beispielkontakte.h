#pragma once

#include <QString>
#include <QStringList>

// A generated ACT! database for the identification tests: Greta Grünwald
// of "Grünwald & Söhne" in Berlin at 0301234567, four neighbours with similar fax numbers, and
// `weitere` customers in Haan, every other one on the mobile field.
struct Beispielkontakte
{
    QString tabelle;     // the contact table (.dbf)
    QString greta;       // her contact id
    QStringList kunden;  // "number [id]" of the customers

    // Writes the database into `ordner`; 300 contacts besides the customers.
    static Beispielkontakte schreibe(const QString &ordner, int weitere = 0);
};
