#pragma once

#include "core/Kontakt.h"
#include "core/Kontaktbestand.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class Kontaktsuchlauf;

// Where callers are looked for: ACT!'s contact table, the number cache in
// front of it or of any other address book. A search runs in a Suchlauf that
// holds the source open and closes it when it goes.
class Kontaktquelle
{
public:
    // Whether a search can run now; when a source failed so that it should
    // not be asked again, it says why, and the program switches it off.
    struct Oeffnung
    {
        enum class Zustand { Offen, NichtBereit, Abschalten };
        Zustand zustand = Zustand::NichtBereit;
        QString meldung;
        std::unique_ptr<Kontaktsuchlauf> lauf;
    };

    virtual ~Kontaktquelle() = default;

    virtual Oeffnung oeffnen() = 0;
    // What the status bar says while the source is searched.
    virtual QString Suchmeldung() const = 0;
    // Every contact with its values of the phone fields `telefonfelder`, for
    // a copy that searches faster (the number cache). Nothing when the
    // source cannot be reached now (what went wrong is shown); contacts
    // that cannot be read tell it through their `fehler`.
    virtual std::unique_ptr<Kontaktbestand> bestand(const QStringList &telefonfelder) = 0;
};

// One open search of a contact source.
class Kontaktsuchlauf
{
public:
    // A search that could not run (its error is shown) found nothing and ran
    // nonetheless: `gelungen` tells the two apart.
    struct Fund
    {
        bool gelungen = false;
        std::optional<Kontakt> kontakt;
    };
    // A contact with a similar number: the number's field label and the
    // number as the list shows it.
    struct Aehnlicher
    {
        Kontakt kontakt;
        QString bezeichnung;
        QString nummer;
    };
    struct Aehnliche
    {
        bool gesucht = false;
        long anzahl = 0;
        QList<Aehnlicher> treffer;
    };

    virtual ~Kontaktsuchlauf() = default;

    // The first contact with the number as written in a chosen phone field;
    // when there is none and `schluessel` is not empty, the first whose
    // field's key holds it (numbers written with blanks, "+49", brackets).
    virtual Fund erster(const QString &nummer, const QString &schluessel) = 0;
    // The contacts whose chosen phone fields hold the digits as written,
    // then those whose fields' keys hold them, each once.
    virtual Aehnliche aehnliche(const QString &ziffern) = 0;
    // The company of the contact with that id; empty when unknown.
    virtual QString firma(const QString &id) = 0;
};
