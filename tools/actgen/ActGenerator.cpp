#include "tools/actgen/ActGenerator.h"

#include "tools/actgen/ActPhoneNumbers.h"
#include "tools/actgen/ActRandom.h"
#include "tools/actgen/ActSampleData.h"
#include "tools/dbf/DbfWriter.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

// Tags in the upper bits of an id's source, so that known contacts, groups
// and random contacts can never share an id.
constexpr quint64 KnownTag = 0;
constexpr quint64 GroupTag = 1;
constexpr quint64 TagCount = quint64(1) << 20;
constexpr int IndexBits = 40;

// Letters that cannot be mistaken for digits or each other.
constexpr char IdAlphabet[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";

QVariant text(const QString &value)
{
    return value.isEmpty() ? QVariant() : QVariant(value);
}

// "Bäckerei Schäfer" -> "baeckerei-schaefer", for invented e-mail addresses.
QString asciiSlug(const QString &value, QChar space)
{
    QString out;
    out.reserve(value.size() + 4);
    for (QChar c : value.toLower()) {
        switch (c.unicode()) {
        case u'ä': out += u"ae"_s; break;
        case u'ö': out += u"oe"_s; break;
        case u'ü': out += u"ue"_s; break;
        case u'ß': out += u"ss"_s; break;
        case u'é': case u'è': case u'ë': out += u'e'; break;
        default:
            if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
                out += c;
            else if ((c == u' ' || c == u'-') && !out.isEmpty() && !out.endsWith(space) && !space.isNull())
                out += space;
        }
    }
    while (out.endsWith(space))
        out.chop(1);
    return out;
}

QString companyDomain(const QString &company)
{
    static const QStringList legalForms = {u"gmbh"_s, u"co."_s, u"kg"_s, u"ag"_s, u"ohg"_s, u"e.k."_s,
                                           u"&"_s,    u"+"_s,   u"dr."_s};
    QStringList words;
    for (const QString &word : company.split(u' ', Qt::SkipEmptyParts)) {
        if (!legalForms.contains(word.toLower()))
            words += word;
    }
    return asciiSlug(words.join(u' '), u'-') + u".example"_s;
}

} // namespace

ActGenerator::ActGenerator(const Options &options)
    : m_options(options)
{
}

QString ActGenerator::makeId(quint64 tag, quint64 index)
{
    // A bijection of the 60-bit source onto itself, written as 12 letters of
    // 5 bits: distinct sources give distinct ids and the ids look random.
    constexpr quint64 mask = (quint64(1) << 60) - 1;
    quint64 x = ((tag << IndexBits | index) + 0x5DEECE66Dull) & mask;
    x ^= x >> 29;
    x = (x * 0xBF58476D1CE4E5B9ull) & mask;
    x ^= x >> 32;
    x = (x * 0x94D049BB133111EBull) & mask;
    x ^= x >> 29;
    char id[12];
    for (int i = 11; i >= 0; --i) {
        id[i] = IdAlphabet[x & 31];
        x >>= 5;
    }
    return QString::fromLatin1(id, 12);
}

QString ActGenerator::knownContactId(int index)
{
    return makeId(KnownTag, quint64(index));
}

QList<ActGenerator::Column> ActGenerator::contactColumns(int extraColumns)
{
    using D = ActDefinitionFile;
    QList<Column> columns = {
        {u"UNIQUE_ID"_s, 'C', 12, u"Datensatz-ID"_s, D::RecordId},
        {u"COMPANY"_s, 'C', 40, u"Firma"_s, D::Text},
        {u"NAME"_s, 'C', 40, u"Kontakt"_s, D::Text},
        {u"FIRST_NAME"_s, 'C', 20, u"Vorname"_s, D::Text},
        {u"LAST_NAME"_s, 'C', 25, u"Nachname"_s, D::Text},
        {u"TITLE"_s, 'C', 25, u"Position"_s, D::Text},
        {u"ADDRESS1"_s, 'C', 40, u"Straße"_s, D::Text},
        {u"CITY"_s, 'C', 30, u"Ort"_s, D::Text},
        {u"STATE"_s, 'C', 20, u"Bundesland"_s, D::Text},
        {u"ZIP"_s, 'C', 10, u"PLZ"_s, D::Text},
        {u"COUNTRY"_s, 'C', 20, u"Land"_s, D::Text},
        {u"PHONE"_s, 'C', 25, u"Telefon"_s, D::Phone},
        {u"FAX"_s, 'C', 25, u"Fax"_s, D::Phone},
        {u"HOME_PHONE"_s, 'C', 25, u"Telefon privat"_s, D::Phone},
        {u"MOBILE_PH"_s, 'C', 25, u"Mobiltelefon"_s, D::Phone},
        {u"ALT_PHONE"_s, 'C', 25, u"Telefon 2"_s, D::Phone},
        {u"PHONE_EXT"_s, 'C', 6, u"Durchwahl"_s, D::Number},
        {u"EMAIL"_s, 'C', 50, u"E-Mail"_s, D::Email},
        {u"LASTEDIT"_s, 'D', 8, u"Letzte Änderung"_s, D::Date},
        {u"NOTE"_s, 'C', 60, u"Notiz"_s, D::Text},
    };
    for (int i = 1; i <= extraColumns; ++i)
        columns.append({u"USER%1"_s.arg(i), 'C', 10, u"Benutzer %1"_s.arg(i), D::Text});
    return columns;
}

QList<ActGenerator::Column> ActGenerator::groupColumns()
{
    using D = ActDefinitionFile;
    return {
        {u"UNIQUE_ID"_s, 'C', 12, u"Gruppen-ID"_s, D::RecordId},
        {u"GROUP_NAME"_s, 'C', 40, u"Gruppe"_s, D::Text},
        {u"DESCRIPT"_s, 'C', 60, u"Beschreibung"_s, D::Text},
        {u"PHONE"_s, 'C', 25, u"Telefon"_s, D::Phone},
        {u"FAX"_s, 'C', 25, u"Fax"_s, D::Phone},
    };
}

QString ActGenerator::addKnownContact(const Contact &contact)
{
    Contact known = contact;
    if (known.uniqueId.isEmpty())
        known.uniqueId = knownContactId(int(m_known.size()));
    if (known.name.isEmpty())
        known.name = (known.firstName + u' ' + known.lastName).trimmed();
    m_known.append(known);
    return known.uniqueId;
}

QStringList ActGenerator::addNeighbours(const QString &areaCode, const QString &leadingDigits, int count)
{
    QStringList ids;
    for (const Contact &contact : neighbours(areaCode, leadingDigits, count))
        ids += addKnownContact(contact);
    return ids;
}

QStringList ActGenerator::addSampleContacts()
{
    QStringList ids;
    for (const Contact &contact : sampleContacts())
        ids += addKnownContact(contact);
    ids += addNeighbours(u"030"_s, u"12345"_s, 4);
    return ids;
}

QList<ActGenerator::Contact> ActGenerator::sampleContacts()
{
    QList<Contact> contacts;
    Contact c;

    c = {};
    c.company = u"Bäckerei Schäfer"_s;
    c.firstName = u"Erika"_s;
    c.lastName = u"Mustermann"_s;
    c.title = u"Inhaberin"_s;
    c.address1 = u"Hauptstraße 12"_s;
    c.zip = u"10115"_s;
    c.city = u"Berlin"_s;
    c.state = u"Berlin"_s;
    c.country = u"Deutschland"_s;
    c.phone = u"030 1234567"_s;
    c.fax = u"030 1234568"_s;
    c.mobilePhone = u"0171/2345678"_s;
    c.email = u"erika.mustermann@baeckerei-schaefer.example"_s;
    c.lastEdit = QDate(2011, 3, 14);
    c.note = u"Rückruf erbeten"_s;
    contacts += c;

    c = {};
    c.company = u"Müller & Söhne GmbH"_s;
    c.firstName = u"Jürgen"_s;
    c.lastName = u"Weiß"_s;
    c.title = u"Geschäftsführer"_s;
    c.address1 = u"Leopoldstraße 77"_s;
    c.zip = u"80802"_s;
    c.city = u"München"_s;
    c.state = u"Bayern"_s;
    c.country = u"Deutschland"_s;
    c.phone = u"(089) 123-456"_s;
    c.fax = u"(089) 123-457"_s;
    c.phoneExt = u"21"_s;
    c.email = u"j.weiss@mueller-soehne.example"_s;
    c.lastEdit = QDate(2010, 11, 2);
    contacts += c;

    c = {};
    c.company = u"Krüger Haustechnik"_s;
    c.firstName = u"Dörte"_s;
    c.lastName = u"Krüger"_s;
    c.title = u"Prokuristin"_s;
    c.address1 = u"Große Bergstraße 140"_s;
    c.zip = u"22767"_s;
    c.city = u"Hamburg"_s;
    c.state = u"Hamburg"_s;
    c.phone = u"+49 40 123456"_s;
    c.homePhone = u"040 8899776"_s;
    c.mobilePhone = u"+49 151 9876543"_s;
    c.lastEdit = QDate(2011, 8, 30);
    contacts += c;

    c = {};
    c.firstName = u"Günther"_s;
    c.lastName = u"Schäfer"_s;
    c.address1 = u"Dürener Straße 201"_s;
    c.zip = u"50931"_s;
    c.city = u"Köln"_s;
    c.state = u"Nordrhein-Westfalen"_s;
    c.phone = u"0221-98765"_s;
    c.altPhone = u"0221 5556677"_s;
    c.lastEdit = QDate(2009, 5, 5);
    contacts += c;

    c = {};
    c.company = u"Höß Optik GmbH"_s;
    c.firstName = u"Gabriele"_s;
    c.lastName = u"Höß"_s;
    c.title = u"Inhaberin"_s;
    c.address1 = u"Herrengasse 3"_s;
    c.zip = u"8010"_s;
    c.city = u"Graz"_s;
    c.state = u"Steiermark"_s;
    c.country = u"Österreich"_s;
    c.phone = u"+43 316 123456"_s;
    c.fax = u"+43 316 123457"_s;
    c.lastEdit = QDate(2011, 1, 20);
    contacts += c;

    c = {};
    c.company = u"Brändli Treuhand AG"_s;
    c.firstName = u"Lukas"_s;
    c.lastName = u"Brändli"_s;
    c.title = u"Geschäftsführer"_s;
    c.address1 = u"Bahnhofstrasse 21"_s;
    c.zip = u"8001"_s;
    c.city = u"Zürich"_s;
    c.state = u"ZH"_s;
    c.country = u"Schweiz"_s;
    c.phone = u"+41 44 123 45 67"_s;
    c.lastEdit = QDate(2010, 6, 18);
    contacts += c;

    // Deleted: a search for its number must not find it.
    c = {};
    c.company = u"Fröhlich Schneidwaren GmbH"_s;
    c.firstName = u"Walter"_s;
    c.lastName = u"Fröhlich"_s;
    c.title = u"Inhaber"_s;
    c.address1 = u"Klingenstraße 8"_s;
    c.zip = u"42651"_s;
    c.city = u"Solingen"_s;
    c.state = u"Nordrhein-Westfalen"_s;
    c.phone = u"0212 1234567"_s;
    c.lastEdit = QDate(2008, 2, 29);
    c.deleted = true;
    contacts += c;

    c = {};
    c.firstName = u"Ilse"_s;
    c.lastName = u"Nüßlein"_s;
    c.address1 = u"Am Kirchplatz 2"_s;
    c.zip = u"42781"_s;
    c.city = u"Haan"_s;
    c.state = u"Nordrhein-Westfalen"_s;
    c.email = u"ilse.nuesslein@mail.example"_s;
    c.lastEdit = QDate(2011, 12, 1);
    c.note = u"Nur schriftlich"_s;
    contacts += c;

    c = {};
    c.company = u"Kaffeehaus Blümel"_s;
    c.firstName = u"Anna"_s;
    c.lastName = u"Blümel"_s;
    c.address1 = u"Gumpendorfer Straße 9"_s;
    c.zip = u"1060"_s;
    c.city = u"Wien"_s;
    c.country = u"Österreich"_s;
    c.mobilePhone = u"+43 664 1234567"_s;
    c.lastEdit = QDate(2011, 10, 7);
    contacts += c;

    return contacts;
}

QList<ActGenerator::Contact> ActGenerator::neighbours(const QString &areaCode, const QString &leadingDigits, int count)
{
    const ActSampleData &data = ActSampleData::instance();
    const QString national = areaCode.startsWith(u'0') ? areaCode : u'0' + areaCode;
    const QString bare = national.mid(1);
    const ActSampleData::City *city = data.cityForAreaCode(bare);
    const QString countryCode = city ? QString::number(city->countryCode) : u"49"_s;

    // Names follow from the digits, not from the seed: the same neighbours in every database.
    quint64 hash = 1469598103934665603ull;
    for (QChar c : national + leadingDigits)
        hash = (hash ^ c.unicode()) * 1099511628211ull;
    ActRandom random(hash);

    QList<Contact> contacts;
    count = std::clamp(count, 0, MaxNeighbours);
    for (int i = 0; i < count; ++i) {
        // 37 is prime to 100: the last two digits differ for up to 100 neighbours.
        const QString last = QString::number((i * 37 + 11) % 100).rightJustified(2, u'0');
        Contact c;
        const bool female = random.chance(500);
        c.firstName = random.pick(female ? data.femaleFirstNames() : data.maleFirstNames());
        c.lastName = random.pick(data.lastNames());
        if (city) {
            c.city = city->name;
            c.zip = ActSampleData::randomZip(*city, random);
        }
        switch (i % 4) {
        case 0: c.phone = national + u' ' + leadingDigits + last; break;
        case 1: c.phone = national + u'/' + leadingDigits + last; break;
        case 2: c.phone = u'+' + countryCode + u' ' + bare + u' ' + leadingDigits + last; break;
        default: c.phone = u'(' + national + u") "_s + leadingDigits + u'-' + last; break;
        }
        c.lastEdit = QDate(2011, 1, 1).addDays(random.below(365));
        contacts += c;
    }
    return contacts;
}

QString ActGenerator::dbfFileName() const
{
    return m_options.dbfName.isEmpty() ? m_options.baseName + u".dbf"_s : m_options.dbfName;
}

QString ActGenerator::gdbFileName() const
{
    return m_options.gdbName.isEmpty() ? m_options.baseName + u".gdb"_s : m_options.gdbName;
}

QString ActGenerator::ddfFileName() const
{
    return m_options.ddfName.isEmpty() ? m_options.baseName + u".ddf"_s : m_options.ddfName;
}

bool ActGenerator::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool ActGenerator::checkOptions()
{
    const Options &o = m_options;
    if (o.contacts < 1 || o.contacts > MaxContacts)
        return fail(u"Kontaktzahl %1 nicht zwischen 1 und %2"_s.arg(o.contacts).arg(MaxContacts));
    if (o.groups < 1 || o.groups > MaxGroups)
        return fail(u"Gruppenzahl %1 nicht zwischen 1 und %2"_s.arg(o.groups).arg(MaxGroups));
    if (o.extraColumns < 0 || o.extraColumns > MaxExtraColumns)
        return fail(u"Zusatzspalten %1 nicht zwischen 0 und %2"_s.arg(o.extraColumns).arg(MaxExtraColumns));
    if (!(o.deletedPercent >= 0.0 && o.deletedPercent <= 100.0))
        return fail(u"Anteil gelöschter Kontakte %1 % nicht zwischen 0 und 100"_s.arg(o.deletedPercent));
    if (o.ddfMinimumSize < 0)
        return fail(u"Größe der Felddefinition darf nicht negativ sein"_s);
    if (!o.tableDate.isValid())
        return fail(u"Tabellendatum fehlt"_s);
    for (const QString &name : {dbfFileName(), gdbFileName(), ddfFileName()}) {
        if (name.isEmpty() || name.startsWith(u'.') || name.contains(u'/') || name.contains(u'\\'))
            return fail(u"Ungültiger Dateiname „%1“"_s.arg(name));
    }
    // One file written over another would lose the contacts without a word.
    if (dbfFileName().compare(gdbFileName(), Qt::CaseInsensitive) == 0
        || dbfFileName().compare(ddfFileName(), Qt::CaseInsensitive) == 0
        || gdbFileName().compare(ddfFileName(), Qt::CaseInsensitive) == 0)
        return fail(u"Die drei Dateinamen müssen verschieden sein"_s);
    return true;
}

bool ActGenerator::write(const QString &folder)
{
    m_summary = {};
    m_error.clear();
    if (!checkOptions())
        return false;
    if (!QDir().mkpath(folder))
        return fail(u"Ordner %1 kann nicht angelegt werden"_s.arg(folder));
    const QDir dir(folder);
    m_summary.dbfPath = dir.filePath(dbfFileName());
    m_summary.gdbPath = dir.filePath(gdbFileName());
    m_summary.ddfPath = dir.filePath(ddfFileName());
    return writeContacts(m_summary.dbfPath) && writeGroups(m_summary.gdbPath) && writeDefinitions(m_summary.ddfPath);
}

void ActGenerator::reserveKnownNumbers(ActPhoneNumbers &numbers) const
{
    for (const Contact &c : m_known) {
        for (const QString *number : {&c.phone, &c.fax, &c.homePhone, &c.mobilePhone, &c.altPhone}) {
            if (!number->isEmpty())
                numbers.reserve(*number);
        }
    }
}

QVariantList ActGenerator::values(const Contact &c, ActRandom &extras) const
{
    QVariantList row;
    row.reserve(20 + m_options.extraColumns);
    row << text(c.uniqueId) << text(c.company) << text(c.name) << text(c.firstName) << text(c.lastName)
        << text(c.title) << text(c.address1) << text(c.city) << text(c.state) << text(c.zip) << text(c.country)
        << text(c.phone) << text(c.fax) << text(c.homePhone) << text(c.mobilePhone) << text(c.altPhone)
        << text(c.phoneExt) << text(c.email) << (c.lastEdit.isValid() ? QVariant(c.lastEdit) : QVariant())
        << text(c.note);
    const QStringList &pool = ActSampleData::instance().extraValues();
    for (int i = 0; i < m_options.extraColumns; ++i)
        row << (extras.chance(100) ? QVariant(extras.pick(pool)) : QVariant());
    return row;
}

ActGenerator::Contact ActGenerator::randomContact(ActRandom &random, ActPhoneNumbers &numbers, qint64 index) const
{
    const ActSampleData &data = ActSampleData::instance();
    const quint64 tag = 2 + ActRandom::mix(m_options.seed) % (TagCount - 2);

    Contact c;
    c.uniqueId = makeId(tag, quint64(index));
    const bool female = random.chance(500);
    c.firstName = random.pick(female ? data.femaleFirstNames() : data.maleFirstNames());
    c.lastName = random.pick(data.lastNames());
    c.name = c.firstName + u' ' + c.lastName;
    const ActSampleData::City &city = data.pickCity(random);
    const bool business = !random.chance(150);
    if (business) {
        QString company = random.pick(data.companyPatterns());
        company.replace(u"%1"_s, c.lastName).replace(u"%2"_s, random.pick(data.lastNames())).replace(u"%3"_s, city.name);
        if (company.size() > 40)
            company = c.lastName + u" GmbH"_s;
        if (city.countryCode == 41)
            company.replace(u" GmbH"_s, u" AG"_s);
        c.company = company;
        if (random.chance(550))
            c.title = random.pick(female ? data.femaleTitles() : data.maleTitles());
    }

    QString street = random.pick(data.streets());
    if (city.countryCode == 41)
        street.replace(u'ß', u"ss"_s); // the Swiss write no ß
    c.address1 = street + u' ' + QString::number(random.between(1, 180));
    if (random.chance(100))
        c.address1 += QChar(u'a' + random.below(3));
    c.city = city.name;
    c.zip = ActSampleData::randomZip(city, random);
    if (random.chance(city.countryCode == 49 ? 700 : 800))
        c.state = city.state;
    if (city.countryCode != 49 || random.chance(500))
        c.country = city.country;

    const int kind = random.below(1000);
    const bool noPhone = kind < 25;
    const bool mobileOnly = !noPhone && kind < 45;
    if (!noPhone && !mobileOnly) {
        const ActPhoneNumbers::Number main = numbers.landline(city);
        const int style = numbers.randomStyle(main);
        c.phone = ActPhoneNumbers::format(main, style);
        if (business && random.chance(450))
            c.fax = ActPhoneNumbers::format(numbers.sibling(main), style);
        if (business && random.chance(200))
            c.phoneExt = QString::number(random.between(10, 499));
        if (business && random.chance(250))
            c.homePhone = numbers.typed(numbers.landline(city));
        if (random.chance(150))
            c.altPhone = numbers.typed(numbers.landline(city));
    }
    if (mobileOnly || (!noPhone && random.chance(450)))
        c.mobilePhone = numbers.typed(numbers.mobile(city));

    if (random.chance(700)) {
        const QString first = asciiSlug(c.firstName, u'-');
        const QString last = asciiSlug(c.lastName, QChar());
        const QString domain = business ? companyDomain(c.company) : u"mail.example"_s;
        // The first address that fits the column, the way people shorten them.
        const QStringList candidates = {first + u'.' + last + u'@' + domain, first.left(1) + u'.' + last + u'@' + domain,
                                        first.left(1) + u'.' + last + u'@' + last + u".example"_s};
        for (const QString &candidate : candidates) {
            if (candidate.size() <= 50) {
                c.email = candidate;
                break;
            }
        }
    }
    c.lastEdit = QDate(1999, 1, 1).addDays(random.below(4748));
    if (random.chance(200))
        c.note = random.pick(data.notes());
    return c;
}

bool ActGenerator::writeContacts(const QString &path)
{
    DbfWriter writer(0x03, 0x03);
    writer.setLastUpdate(m_options.tableDate);
    for (const Column &column : contactColumns(m_options.extraColumns)) {
        if (!writer.addField(column.name, column.dbfType, column.length))
            return fail(writer.errorString());
    }
    if (!writer.create(path))
        return fail(writer.errorString());

    ActRandom random(m_options.seed);
    ActRandom extras(m_options.seed ^ 0x45585452415300ull);
    ActPhoneNumbers numbers(random);
    reserveKnownNumbers(numbers);
    const int deletedPer10000 = qRound(m_options.deletedPercent * 100.0);

    for (const Contact &contact : std::as_const(m_known)) {
        if (!writer.appendRecord(values(contact, extras), contact.deleted))
            return fail(writer.errorString());
        m_summary.deleted += contact.deleted ? 1 : 0;
    }
    for (qint64 i = m_known.size(); i < m_options.contacts; ++i) {
        const Contact contact = randomContact(random, numbers, i);
        const bool deleted = random.below(10000) < deletedPer10000;
        if (!writer.appendRecord(values(contact, extras), deleted))
            return fail(writer.errorString());
        m_summary.deleted += deleted ? 1 : 0;
    }
    if (!writer.finish())
        return fail(writer.errorString());
    m_summary.records = writer.recordCount();
    return true;
}

bool ActGenerator::writeGroups(const QString &path)
{
    const ActSampleData &data = ActSampleData::instance();
    DbfWriter writer(0x03, 0x03);
    writer.setLastUpdate(m_options.tableDate);
    for (const Column &column : groupColumns()) {
        if (!writer.addField(column.name, column.dbfType, column.length))
            return fail(writer.errorString());
    }
    if (!writer.create(path))
        return fail(writer.errorString());

    ActRandom random(m_options.seed ^ 0x47524F555053ull);
    ActPhoneNumbers numbers(random);
    reserveKnownNumbers(numbers);
    // A shuffled selection, so that no name comes twice.
    QStringList names = data.groupNames();
    for (qsizetype i = names.size() - 1; i > 0; --i)
        names.swapItemsAt(i, random.below(int(i + 1)));

    const int count = std::min<int>(m_options.groups, int(names.size()));
    for (int i = 0; i < count; ++i) {
        QVariantList row;
        row << makeId(GroupTag, quint64(i)) << names.at(i);
        row << (random.chance(700) ? QVariant(random.pick(data.groupDescriptions())) : QVariant());
        if (random.chance(400)) {
            const ActPhoneNumbers::Number phone = numbers.landline(data.pickCity(random));
            const int style = numbers.randomStyle(phone);
            row << ActPhoneNumbers::format(phone, style);
            row << (random.chance(500) ? QVariant(ActPhoneNumbers::format(numbers.sibling(phone), style)) : QVariant());
        }
        if (!writer.appendRecord(row))
            return fail(writer.errorString());
    }
    if (!writer.finish())
        return fail(writer.errorString());
    m_summary.groups = count;
    return true;
}

bool ActGenerator::writeDefinitions(const QString &path)
{
    const auto definitions = [](const QList<Column> &columns) {
        QList<ActDefinitionFile::Field> fields;
        for (const Column &column : columns)
            fields.append({column.name, column.label, column.ddfType, column.length});
        return fields;
    };
    ActDefinitionFile file;
    file.setContactFields(definitions(contactColumns(m_options.extraColumns)));
    file.setGroupFields(definitions(groupColumns()));
    file.setVariant(m_options.ddfVariant);
    file.setMinimumSize(m_options.ddfMinimumSize);
    return file.write(path) || fail(file.errorString());
}
