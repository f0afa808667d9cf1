#pragma once

#include "tools/actgen/ActSampleData.h"

#include <QString>
#include <QStringList>

class ActRandom;

// Makes phone numbers and types them the many ways people do: "030 1234567",
// "(089) 123-456", "+49 40 123456", "0171/1234567", "+43 316 123456".
// Numbers planted for tests are reserved: no random number contains their
// digits, so a search for a planted number finds only what was planted.
class ActPhoneNumbers
{
public:
    struct Number
    {
        int countryCode = 49;
        QString areaCode; // without the trunk 0; the network code for mobiles
        QString subscriber;
        bool mobile = false;
    };

    explicit ActPhoneNumbers(ActRandom &random);

    // Keeps the digits of a planted number away from the random ones.
    void reserve(const QString &typedNumber);
    const QStringList &reserved() const { return m_reserved; }

    Number landline(const ActSampleData::City &city);
    Number mobile(const ActSampleData::City &city);
    // Same area code and leading digits, other last two digits: the fax
    // beside the phone of a company.
    Number sibling(const Number &number);

    // A way of typing the number, fitting its country; pass it to format()
    // to type two numbers of one contact alike.
    int randomStyle(const Number &number);
    static QString format(const Number &number, int style);
    QString typed(const Number &number) { return format(number, randomStyle(number)); }

    // Only the digits of a text.
    static QString digitsOf(const QString &text);

private:
    bool isReserved(const Number &number) const;

    ActRandom &m_random;
    QStringList m_reserved;
};
