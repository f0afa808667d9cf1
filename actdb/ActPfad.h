#pragma once

#include <QString>

// The path of an ACT! database file split as the table access and the field
// definitions use it: the folder (without the last "/") and the base name (the
// file name less its last four characters, ".dbf"). The path is first
// resolved as Windows would find the file: exactly, else the one name that
// differs only in letter case; a file that is not there gives empty parts.
class ActPfad
{
public:
    explicit ActPfad(const QString &pfad);

    const QString &Ordner() const { return m_ordner; }
    const QString &Tabellenname() const { return m_tabelle; }

    // The file itself, or the one whose name differs only in letter case;
    // empty when there is none.
    static QString finde(const QString &pfad);

private:
    QString m_ordner;
    QString m_tabelle;
};
