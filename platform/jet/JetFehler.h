#pragma once

#include <QString>

#include <exception>

// An error of the database engine: a number, a description and the name of
// a help file, as every caller quotes them in its messages.
class JetFehler : public std::exception
{
public:
    // The numbers the program knows and reacts to.
    enum Nummer : long {
        KeinAktuellerDatensatz = 3021,
        UpdateOhneAddNew = 3020,
        DoppelterWert = 3022,
        DateiNichtGefunden = 3024,
        Schreibgeschuetzt = 3027,
        TabelleExistiert = 3010,
        DatentraegerFehler = 3043,
        UngueltigerPfad = 3044,
        DateiBeschaedigt = 3049,
        DateiNichtZuOeffnen = 3051,
        ZuWenigParameter = 3061,
        SyntaxFehler = 3075,
        EingabetabelleFehlt = 3078,
        FeldZuKlein = 3163,
        ElementNichtGefunden = 3265,
        LeereZeichenfolge = 3315,
        UnbekanntesFormat = 3343,
        ObjektUngueltig = 3420,
        Typkonvertierung = 3421,
        Allgemein = 3000,
    };

    JetFehler(long number, QString description);

    long Number() const { return m_number; }
    const QString &Description() const { return m_description; }
    const QString &HelpFile() const { return m_helpFile; }
    const char *what() const noexcept override;

    static QString StandardHelpFile();

private:
    long m_number;
    QString m_description;
    QString m_helpFile;
    QByteArray m_what;
};
