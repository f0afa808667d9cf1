#pragma once

#include <QList>
#include <QPair>
#include <QString>

// One contact of ACT!'s table as its card shows it: every filled field under
// its ACT! label (a column the definitions do not name shows its name).
struct ActKontaktkarte
{
    enum class Ergebnis { Gelesen, Unbekannt, Unlesbar };

    Ergebnis ergebnis = Ergebnis::Unlesbar;
    QString fehler; // why the table could not be read
    QString id;
    QString name;
    QList<QPair<QString, QString>> zeilen;

    // The contact with that id (blanks round it do not count) in the table at `datenbank`.
    static ActKontaktkarte lies(const QString &datenbank, const QString &id);
};
