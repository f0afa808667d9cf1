#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class ActRandom;

// The invented material the sample contacts are made of: first and last
// names, streets, companies and the places with their real area codes and
// postcode ranges. Built once and shared.
class ActSampleData
{
public:
    struct City
    {
        QString name;
        QString state;
        QString country;
        int countryCode = 49;
        QString areaCode; // without the trunk 0: "30" for Berlin, "316" for Graz
        int subscriberMin = 6;
        int subscriberMax = 8;
        int zipLow = 0;
        int zipHigh = 0;
        int zipDigits = 5;
        int weight = 1;
        int zipStep = 1; // Vienna's postcodes go by district: 1010, 1020, ...
    };

    static const ActSampleData &instance();

    const QList<City> &cities() const { return m_cities; }
    // Weighted: the big cities come up more often than Haan.
    const City &pickCity(ActRandom &random) const;
    // The first place with this area code (without the trunk 0); null when none.
    const City *cityForAreaCode(const QString &areaCode) const;
    static QString randomZip(const City &city, ActRandom &random);

    const QStringList &femaleFirstNames() const { return m_femaleFirstNames; }
    const QStringList &maleFirstNames() const { return m_maleFirstNames; }
    const QStringList &lastNames() const { return m_lastNames; }
    const QStringList &streets() const { return m_streets; }
    // %1 a last name, %2 another one, %3 the place.
    const QStringList &companyPatterns() const { return m_companyPatterns; }
    const QStringList &femaleTitles() const { return m_femaleTitles; }
    const QStringList &maleTitles() const { return m_maleTitles; }
    const QStringList &notes() const { return m_notes; }
    const QStringList &groupNames() const { return m_groupNames; }
    const QStringList &groupDescriptions() const { return m_groupDescriptions; }
    // German, Austrian and Swiss mobile prefixes without the trunk 0.
    const QStringList &mobilePrefixes(int countryCode) const;
    const QStringList &extraValues() const { return m_extraValues; }

private:
    ActSampleData();

    QList<City> m_cities;
    int m_totalWeight = 0;
    QStringList m_femaleFirstNames;
    QStringList m_maleFirstNames;
    QStringList m_lastNames;
    QStringList m_streets;
    QStringList m_companyPatterns;
    QStringList m_femaleTitles;
    QStringList m_maleTitles;
    QStringList m_notes;
    QStringList m_groupNames;
    QStringList m_groupDescriptions;
    QStringList m_mobileDe;
    QStringList m_mobileAt;
    QStringList m_mobileCh;
    QStringList m_extraValues;
};
