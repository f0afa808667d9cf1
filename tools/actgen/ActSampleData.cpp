#include "tools/actgen/ActSampleData.h"

#include "tools/actgen/ActRandom.h"

using namespace Qt::StringLiterals;

const ActSampleData &ActSampleData::instance()
{
    static const ActSampleData data;
    return data;
}

ActSampleData::ActSampleData()
{
    const QString nrw = u"Nordrhein-Westfalen"_s;
    const QString bayern = u"Bayern"_s;
    const QString bw = u"Baden-Württemberg"_s;
    const QString de = u"Deutschland"_s;
    const QString at = u"Österreich"_s;
    const QString ch = u"Schweiz"_s;
    // Real area codes and postcode ranges, so that the numbers look like
    // the ones a caller ID shows.
    m_cities = {
        {u"Berlin"_s, u"Berlin"_s, de, 49, u"30"_s, 7, 8, 10115, 14199, 5, 12},
        {u"München"_s, bayern, de, 49, u"89"_s, 6, 8, 80331, 81929, 5, 9},
        {u"Hamburg"_s, u"Hamburg"_s, de, 49, u"40"_s, 6, 8, 20095, 22769, 5, 9},
        {u"Köln"_s, nrw, de, 49, u"221"_s, 5, 7, 50667, 51149, 5, 7},
        {u"Frankfurt am Main"_s, u"Hessen"_s, de, 49, u"69"_s, 6, 8, 60306, 60599, 5, 6},
        {u"Stuttgart"_s, bw, de, 49, u"711"_s, 5, 7, 70173, 70629, 5, 5},
        {u"Düsseldorf"_s, nrw, de, 49, u"211"_s, 5, 7, 40210, 40629, 5, 5},
        {u"Solingen"_s, nrw, de, 49, u"212"_s, 5, 7, 42651, 42719, 5, 3},
        {u"Haan"_s, nrw, de, 49, u"2129"_s, 4, 6, 42781, 42781, 5, 2},
        {u"Leipzig"_s, u"Sachsen"_s, de, 49, u"341"_s, 5, 7, 4103, 4357, 5, 3},
        {u"Dresden"_s, u"Sachsen"_s, de, 49, u"351"_s, 5, 7, 1067, 1328, 5, 3},
        {u"Hannover"_s, u"Niedersachsen"_s, de, 49, u"511"_s, 5, 7, 30159, 30669, 5, 3},
        {u"Nürnberg"_s, bayern, de, 49, u"911"_s, 5, 7, 90402, 90491, 5, 3},
        {u"Bremen"_s, u"Bremen"_s, de, 49, u"421"_s, 5, 7, 28195, 28779, 5, 3},
        {u"Essen"_s, nrw, de, 49, u"201"_s, 5, 7, 45127, 45359, 5, 3},
        {u"Dortmund"_s, nrw, de, 49, u"231"_s, 5, 7, 44135, 44388, 5, 3},
        {u"Bonn"_s, nrw, de, 49, u"228"_s, 5, 7, 53111, 53229, 5, 2},
        {u"Münster"_s, nrw, de, 49, u"251"_s, 5, 7, 48143, 48167, 5, 2},
        {u"Augsburg"_s, bayern, de, 49, u"821"_s, 5, 7, 86150, 86199, 5, 2},
        {u"Würzburg"_s, bayern, de, 49, u"931"_s, 5, 7, 97070, 97084, 5, 2},
        {u"Göttingen"_s, u"Niedersachsen"_s, de, 49, u"551"_s, 5, 7, 37073, 37085, 5, 2},
        {u"Lübeck"_s, u"Schleswig-Holstein"_s, de, 49, u"451"_s, 5, 7, 23552, 23570, 5, 2},
        {u"Kiel"_s, u"Schleswig-Holstein"_s, de, 49, u"431"_s, 5, 7, 24103, 24159, 5, 2},
        {u"Saarbrücken"_s, u"Saarland"_s, de, 49, u"681"_s, 5, 7, 66111, 66133, 5, 2},
        {u"Freiburg im Breisgau"_s, bw, de, 49, u"761"_s, 5, 7, 79098, 79117, 5, 2},
        {u"Mannheim"_s, bw, de, 49, u"621"_s, 5, 7, 68159, 68309, 5, 2},
        {u"Wuppertal"_s, nrw, de, 49, u"202"_s, 5, 7, 42103, 42399, 5, 2},
        {u"Erfurt"_s, u"Thüringen"_s, de, 49, u"361"_s, 5, 7, 99084, 99099, 5, 2},
        {u"Potsdam"_s, u"Brandenburg"_s, de, 49, u"331"_s, 5, 7, 14467, 14482, 5, 2},
        {u"Regensburg"_s, bayern, de, 49, u"941"_s, 5, 7, 93047, 93059, 5, 2},
        {u"Wien"_s, u"Wien"_s, at, 43, u"1"_s, 6, 8, 1010, 1230, 4, 4, 10},
        {u"Graz"_s, u"Steiermark"_s, at, 43, u"316"_s, 5, 7, 8010, 8063, 4, 2},
        {u"Linz"_s, u"Oberösterreich"_s, at, 43, u"732"_s, 5, 7, 4020, 4040, 4, 1},
        {u"Salzburg"_s, u"Salzburg"_s, at, 43, u"662"_s, 5, 7, 5020, 5026, 4, 1},
        {u"Innsbruck"_s, u"Tirol"_s, at, 43, u"512"_s, 5, 7, 6020, 6080, 4, 1},
        {u"Zürich"_s, u"ZH"_s, ch, 41, u"44"_s, 7, 7, 8001, 8057, 4, 3},
        {u"Basel"_s, u"BS"_s, ch, 41, u"61"_s, 7, 7, 4001, 4059, 4, 1},
        {u"Bern"_s, u"BE"_s, ch, 41, u"31"_s, 7, 7, 3001, 3030, 4, 1},
    };
    for (const City &city : std::as_const(m_cities))
        m_totalWeight += city.weight;

    m_femaleFirstNames = {
        u"Ursula"_s,   u"Renate"_s,   u"Monika"_s,  u"Petra"_s,   u"Sabine"_s,    u"Andrea"_s,   u"Birgit"_s,
        u"Claudia"_s,  u"Susanne"_s,  u"Gabriele"_s, u"Karin"_s,  u"Brigitte"_s,  u"Jutta"_s,    u"Anja"_s,
        u"Katrin"_s,   u"Nicole"_s,   u"Stefanie"_s, u"Julia"_s,  u"Anna"_s,      u"Lena"_s,     u"Laura"_s,
        u"Sophie"_s,   u"Marie"_s,    u"Hannah"_s,  u"Jana"_s,    u"Sandra"_s,    u"Heike"_s,    u"Ilse"_s,
        u"Gisela"_s,   u"Dörte"_s,    u"Bärbel"_s,  u"Käthe"_s,   u"Ingeborg"_s,  u"Hülya"_s,    u"Zoë"_s,
        u"Renée"_s,    u"Annegret"_s, u"Frauke"_s,  u"Silke"_s,   u"Elke"_s,
    };
    m_maleFirstNames = {
        u"Jürgen"_s,  u"Günter"_s,    u"Klaus"_s,     u"Hans"_s,      u"Peter"_s,   u"Michael"_s, u"Thomas"_s,
        u"Andreas"_s, u"Stefan"_s,    u"Frank"_s,     u"Jörg"_s,      u"Uwe"_s,     u"Wolfgang"_s, u"Dieter"_s,
        u"Horst"_s,   u"Bernd"_s,     u"Matthias"_s,  u"Sebastian"_s, u"Lukas"_s,   u"Jonas"_s,   u"Felix"_s,
        u"Maximilian"_s, u"Björn"_s,  u"Sören"_s,     u"Jens"_s,      u"Ralf"_s,    u"Rüdiger"_s, u"Kai"_s,
        u"Tobias"_s,  u"Florian"_s,   u"Dirk"_s,      u"Holger"_s,    u"Markus"_s,  u"Christian"_s, u"Martin"_s,
        u"Heinz"_s,   u"Karl-Heinz"_s, u"Hans-Jürgen"_s, u"Ömer"_s,   u"André"_s,
    };
    m_lastNames = {
        u"Müller"_s,    u"Schmidt"_s,   u"Schneider"_s, u"Fischer"_s,  u"Weber"_s,    u"Meyer"_s,
        u"Wagner"_s,    u"Becker"_s,    u"Schulz"_s,    u"Hoffmann"_s, u"Schäfer"_s,  u"Koch"_s,
        u"Bauer"_s,     u"Richter"_s,   u"Klein"_s,     u"Wolf"_s,     u"Schröder"_s, u"Neumann"_s,
        u"Schwarz"_s,   u"Zimmermann"_s, u"Braun"_s,    u"Krüger"_s,   u"Hofmann"_s,  u"Hartmann"_s,
        u"Lange"_s,     u"Schmitt"_s,   u"Werner"_s,    u"Schmitz"_s,  u"Krause"_s,   u"Meier"_s,
        u"Lehmann"_s,   u"Schulze"_s,   u"Maier"_s,     u"Köhler"_s,   u"Herrmann"_s, u"König"_s,
        u"Walter"_s,    u"Huber"_s,     u"Kaiser"_s,    u"Fuchs"_s,    u"Peters"_s,   u"Scholz"_s,
        u"Möller"_s,    u"Weiß"_s,      u"Jung"_s,      u"Hahn"_s,     u"Schubert"_s, u"Vogel"_s,
        u"Friedrich"_s, u"Keller"_s,    u"Günther"_s,   u"Berger"_s,   u"Winkler"_s,  u"Roth"_s,
        u"Lorenz"_s,    u"Baumann"_s,   u"Albrecht"_s,  u"Schuster"_s, u"Ludwig"_s,   u"Böhm"_s,
        u"Winter"_s,    u"Schumacher"_s, u"Krämer"_s,   u"Vogt"_s,     u"Jäger"_s,    u"Sommer"_s,
        u"Groß"_s,      u"Seidel"_s,    u"Brandt"_s,    u"Haas"_s,     u"Dietrich"_s, u"Ziegler"_s,
        u"Kühn"_s,      u"Pohl"_s,      u"Engel"_s,     u"Horn"_s,     u"Bergmann"_s, u"Voigt"_s,
        u"Pfeiffer"_s,  u"Öztürk"_s,    u"Nowak"_s,     u"Gärtner"_s,  u"Blümel"_s,   u"Strauß"_s,
        u"Weißmüller"_s, u"Brändle"_s,  u"Nüßlein"_s,   u"Özdemir"_s,  u"von Bülow"_s, u"van der Meer"_s,
        u"Schmidt-Rösler"_s, u"Großkopf"_s, u"Häußler"_s, u"Fröhlich"_s,
    };
    m_streets = {
        u"Hauptstraße"_s,     u"Bahnhofstraße"_s,   u"Schillerstraße"_s,  u"Goethestraße"_s,
        u"Lindenallee"_s,     u"Am Mühlbach"_s,     u"Friedrichstraße"_s, u"Gartenweg"_s,
        u"Schloßstraße"_s,    u"Kirchgasse"_s,      u"Bergstraße"_s,      u"Waldweg"_s,
        u"Rosenstraße"_s,     u"Marktplatz"_s,      u"Mühlenweg"_s,       u"Dorfstraße"_s,
        u"Ringstraße"_s,      u"Industriestraße"_s, u"Gewerbering"_s,     u"Parkstraße"_s,
        u"Lessingstraße"_s,   u"Kantstraße"_s,      u"Wilhelmstraße"_s,   u"Uhlandstraße"_s,
        u"Mozartstraße"_s,    u"Beethovenstraße"_s, u"Sonnenstraße"_s,    u"Am Bürgerpark"_s,
        u"Hölderlinweg"_s,    u"Kölner Straße"_s,   u"Düsseldorfer Straße"_s, u"Frankfurter Allee"_s,
        u"Münchner Straße"_s, u"Grüner Weg"_s,      u"Hohe Straße"_s,     u"Lange Straße"_s,
        u"Burgstraße"_s,      u"Am Schützenplatz"_s, u"Weißdornweg"_s,    u"Fährstraße"_s,
        u"Brückenstraße"_s,   u"Südring"_s,         u"Nordstraße"_s,      u"Ährenfeld"_s,
        u"Kastanienallee"_s,  u"Im Gässchen"_s,     u"Herrengasse"_s,     u"Ölmühlenweg"_s,
    };
    m_companyPatterns = {
        u"%1 & Söhne GmbH"_s,        u"Bäckerei %1"_s,            u"Metzgerei %1"_s,
        u"Autohaus %1 GmbH"_s,       u"%1 GmbH & Co. KG"_s,       u"%1 + %2 Rechtsanwälte"_s,
        u"Steuerberatung %1"_s,      u"Zahnarztpraxis Dr. %1"_s,  u"Elektro %1 GmbH"_s,
        u"Schreinerei %1"_s,         u"%1 Haustechnik"_s,         u"Blumen %1"_s,
        u"Café %1"_s,                u"Spedition %1"_s,           u"%1 Werkzeugbau GmbH"_s,
        u"Ingenieurbüro %1"_s,       u"%1 & %2 OHG"_s,            u"Druckerei %1 e.K."_s,
        u"Gärtnerei %1"_s,           u"Optik %1"_s,               u"%1 Schneidwaren GmbH"_s,
        u"Physiotherapie %1"_s,      u"Immobilien %1"_s,          u"%1 Bürobedarf"_s,
        u"Getränke %1"_s,            u"Maschinenbau %3 AG"_s,   u"Reisebüro %1"_s,
        u"Malerbetrieb %1"_s,        u"Dachdeckerei %1 GmbH"_s,   u"%1 Software GmbH"_s,
    };
    m_femaleTitles = {
        u"Geschäftsführerin"_s, u"Inhaberin"_s,    u"Einkauf"_s,      u"Vertrieb"_s,
        u"Buchhaltung"_s,       u"Prokuristin"_s,  u"Vertriebsleiterin"_s, u"Sekretariat"_s,
        u"Projektleiterin"_s,   u"Außendienst"_s,  u"Assistenz der GF"_s, u"Dr."_s,
    };
    m_maleTitles = {
        u"Geschäftsführer"_s,  u"Inhaber"_s,     u"Einkauf"_s,         u"Vertrieb"_s,
        u"Buchhaltung"_s,      u"Prokurist"_s,   u"Vertriebsleiter"_s, u"Technischer Leiter"_s,
        u"Projektleiter"_s,    u"Außendienst"_s, u"Lagerleiter"_s,     u"Dr."_s,
    };
    m_notes = {
        u"Rückruf erbeten"_s,
        u"Katalog 2011 zugeschickt"_s,
        u"Ansprechpartner wechselt im Frühjahr"_s,
        u"Nur vormittags erreichbar"_s,
        u"Bitte über Zentrale verbinden"_s,
        u"Weihnachtskarte"_s,
        u"Großkunde – 5 % Rabatt"_s,
        u"Messe Düsseldorf: Interesse an Angebot"_s,
        u"Zahlt pünktlich"_s,
        u"Mahnung offen, 1.250 €"_s,
        u"Lieber per Fax als per E-Mail"_s,
        u"Urlaub bis Ende des Monats"_s,
    };
    m_groupNames = {
        u"Stammkunden"_s,     u"Lieferanten"_s,   u"Interessenten"_s,     u"Presse"_s,
        u"Handwerker"_s,      u"Messe Hannover"_s, u"Weihnachtspost"_s,   u"Vertrieb Nord"_s,
        u"Vertrieb Süd"_s,    u"Rechtsanwälte & Steuerberater"_s, u"Österreich"_s, u"Schweiz"_s,
        u"Ärzte"_s,           u"Partnerbetriebe"_s, u"Ehemalige Kunden"_s, u"Großkunden"_s,
        u"Newsletter"_s,      u"Wartungsverträge"_s, u"Gastronomie"_s,    u"Behörden"_s,
    };
    m_groupDescriptions = {
        u"Kunden mit Rahmenvertrag"_s,
        u"Bezugsquellen für Material und Büro"_s,
        u"Anfragen der letzten zwölf Monate"_s,
        u"Redaktionen und freie Journalisten"_s,
        u"Betriebe für Reparaturen im Haus"_s,
        u"Kontakte vom Messestand"_s,
        u"Erhalten eine Karte zum Jahresende"_s,
        u"Postleitzahlen 0–4"_s,
        u"Postleitzahlen 5–9"_s,
    };
    m_mobileDe = {u"151"_s, u"152"_s, u"157"_s, u"159"_s, u"160"_s, u"162"_s, u"163"_s, u"170"_s,
                  u"171"_s, u"172"_s, u"173"_s, u"174"_s, u"175"_s, u"176"_s, u"177"_s, u"178"_s,
                  u"179"_s};
    m_mobileAt = {u"650"_s, u"660"_s, u"664"_s, u"676"_s, u"680"_s, u"699"_s};
    m_mobileCh = {u"76"_s, u"77"_s, u"78"_s, u"79"_s};
    m_extraValues = {u"ja"_s, u"nein"_s, u"A-Kunde"_s, u"B-Kunde"_s, u"C-Kunde"_s, u"Premium"_s,
                     u"Standard"_s, u"Rückfrage"_s};
}

const ActSampleData::City &ActSampleData::pickCity(ActRandom &random) const
{
    int ticket = random.below(m_totalWeight);
    for (const City &city : m_cities) {
        if (ticket < city.weight)
            return city;
        ticket -= city.weight;
    }
    return m_cities.first();
}

const ActSampleData::City *ActSampleData::cityForAreaCode(const QString &areaCode) const
{
    for (const City &city : m_cities) {
        if (city.areaCode == areaCode)
            return &city;
    }
    return nullptr;
}

QString ActSampleData::randomZip(const City &city, ActRandom &random)
{
    const int steps = (city.zipHigh - city.zipLow) / city.zipStep + 1;
    const int zip = city.zipLow + city.zipStep * random.below(steps);
    return QString::number(zip).rightJustified(city.zipDigits, u'0');
}

const QStringList &ActSampleData::mobilePrefixes(int countryCode) const
{
    if (countryCode == 43)
        return m_mobileAt;
    if (countryCode == 41)
        return m_mobileCh;
    return m_mobileDe;
}
