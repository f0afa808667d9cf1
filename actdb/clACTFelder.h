#pragma once

#include "actdb/clACTFeld.h"

#include <QString>

#include <functional>
#include <vector>

class Dialogs;

// The field definitions of the open ACT! database: the columns of the
// contact and group tables with the labels and type codes that ACT!'s
// definition file gives them.
class clACTFelder
{
public:
    using Fortschritt = std::function<void(const QString &)>;

    explicit clACTFelder(Dialogs &dialogs);

    bool init(const QString &Datenbankpfad);
    // Forgets the database and its fields: nothing counts as read.
    void kill();
    QString ACTDatenbankpfad;

    QString ACTPfad() const;
    QString ACTDateiname() const;
    clACTFeld KontaktFeld(int i) const;
    clACTFeld GruppenFeld(int i) const;
    int AnzahlKontaktfelder() const { return static_cast<int>(m_kontakt.size()) - 1; }
    int AnzahlGruppenfleder() const { return static_cast<int>(m_gruppe.size()) - 1; }
    bool Felder_eingelesen() const { return AnzahlKontaktfelder() >= 2; }
    // Reads every definition; a fault of the definition file is raised as
    // Felddefinitionen::Fehler to the caller.
    void Felder_einlesen(const Fortschritt &fortschritt = {});
    bool checkeACTFeldnamen(const QString &name);

    static QString Klassenname();

private:
    // The column names of the contact and the group table; false after the message.
    bool ConnectWithDBF(QStringList &kontakt, QStringList &gruppe);

    Dialogs &m_dialogs;
    std::vector<clACTFeld> m_kontakt{1};
    std::vector<clACTFeld> m_gruppe{1};
};
