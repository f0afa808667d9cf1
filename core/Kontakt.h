#pragma once

#include <QList>
#include <QString>

#include <optional>

// A phone value of a contact as it is written, under the field it is in.
struct Telefonwert
{
    QString feld;
    QString wert;
    bool operator==(const Telefonwert &) const = default;
};

// A contact as a contact source names it. What a source did not read stays
// empty; the city is unset where the source has the field but no value.
struct Kontakt
{
    QString id;
    QString name;
    QString firma;
    std::optional<QString> ort;
    QList<Telefonwert> telefon;
    bool operator==(const Kontakt &) const = default;
};
