#include "tools/actgen/ActGeneratorCommandLine.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;

QString ActGeneratorCommandLine::usage()
{
    return u"Aufruf: rufmon-actgen [Optionen] ORDNER\n"
           u"Schreibt eine Beispieldatenbank des Kontaktmanagers: ORDNER/BASIS.dbf, .gdb und .ddf.\n"
           u"\n"
           u"  --seed N             Startwert des Zufalls (Standard 1); gleiche Optionen, gleiche Bytes\n"
           u"  --contacts N         Kontakte einschließlich gelöschter, 1 bis 1000000 (Standard 1000)\n"
           u"  --name BASIS         Dateiname ohne Endung, Groß-/Kleinschreibung wie angegeben (Standard KUNDEN)\n"
           u"  --files DBF,GDB,DDF  drei Dateinamen, z. B. KUNDEN.DBF,kunden.gdb,Kunden.DDF\n"
           u"  --groups N           Gruppen, 1 bis 20 (Standard 8)\n"
           u"  --deleted PROZENT    Anteil gelöschter Zufallskontakte (Standard 2)\n"
           u"  --plant              bekannte Beispielkontakte und Nachbarn von 030 1234567 zuerst\n"
           u"  --demo               der Vorführkontakt 0301234567 und seine Nachbarn 03012345.. zuerst\n"
           u"  --extra-columns N    N weitere Textspalten USER1 ... USERN (10 Zeichen)\n"
           u"  --ddf-size BYTES     .ddf mit Füllbytes auf mindestens diese Größe bringen (auch 512K, 1M)\n"
           u"  --ddf-variant ART    normal, no-activity, no-group, truncated, label-past-end, empty\n"
           u"  --date JJJJ-MM-TT    Datum im Tabellenkopf (Standard 2012-01-16)\n"
           u"  --quiet              keine Zusammenfassung ausgeben\n"
           u"  --help               diese Hilfe\n"_s;
}

qint64 ActGeneratorCommandLine::parseSize(const QString &text)
{
    QString digits = text.trimmed();
    qint64 factor = 1;
    if (digits.endsWith(u'K', Qt::CaseInsensitive)) {
        factor = 1024;
        digits.chop(1);
    } else if (digits.endsWith(u'M', Qt::CaseInsensitive)) {
        factor = 1024 * 1024;
        digits.chop(1);
    }
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    // Anything beyond a gigabyte is a typing error, not a test file.
    if (!ok || value < 0 || value > (qint64(1) << 30) / factor)
        return -1;
    return value * factor;
}

bool ActGeneratorCommandLine::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool ActGeneratorCommandLine::parse(const QStringList &arguments)
{
    m_options = {};
    m_folder.clear();
    m_plant = m_help = m_quiet = m_demo = false;
    m_error.clear();

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption seed(u"seed"_s, {}, u"N"_s);
    const QCommandLineOption contacts(u"contacts"_s, {}, u"N"_s);
    const QCommandLineOption name(u"name"_s, {}, u"BASE"_s);
    const QCommandLineOption files(u"files"_s, {}, u"NAMES"_s);
    const QCommandLineOption groups(u"groups"_s, {}, u"N"_s);
    const QCommandLineOption deleted(u"deleted"_s, {}, u"PERCENT"_s);
    const QCommandLineOption plant(u"plant"_s);
    const QCommandLineOption demo(u"demo"_s);
    const QCommandLineOption extraColumns(u"extra-columns"_s, {}, u"N"_s);
    const QCommandLineOption ddfSize(u"ddf-size"_s, {}, u"BYTES"_s);
    const QCommandLineOption ddfVariant(u"ddf-variant"_s, {}, u"KIND"_s);
    const QCommandLineOption date(u"date"_s, {}, u"DATE"_s);
    const QCommandLineOption quiet(u"quiet"_s);
    const QCommandLineOption help(QStringList{u"help"_s, u"h"_s});
    parser.addOptions({seed, contacts, name, files, groups, deleted, plant, demo, extraColumns, ddfSize, ddfVariant, date,
                       quiet, help});
    parser.addPositionalArgument(u"folder"_s, {});
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        m_help = true;
        return true;
    }
    m_plant = parser.isSet(plant);
    m_demo = parser.isSet(demo);
    m_quiet = parser.isSet(quiet);

    const auto integer = [&parser](const QCommandLineOption &option, qint64 low, qint64 high, qint64 *out) {
        bool ok = false;
        const qint64 value = parser.value(option).toLongLong(&ok);
        if (!ok || value < low || value > high)
            return false;
        *out = value;
        return true;
    };
    qint64 number = 0;
    if (parser.isSet(seed)) {
        bool ok = false;
        m_options.seed = parser.value(seed).toULongLong(&ok);
        if (!ok)
            return fail(u"--seed erwartet eine nicht negative ganze Zahl, nicht „%1“"_s.arg(parser.value(seed)));
    }
    if (parser.isSet(contacts)) {
        if (!integer(contacts, 1, ActGenerator::MaxContacts, &number))
            return fail(u"--contacts erwartet 1 bis %1, nicht „%2“"_s.arg(ActGenerator::MaxContacts)
                            .arg(parser.value(contacts)));
        m_options.contacts = number;
    }
    if (parser.isSet(groups)) {
        if (!integer(groups, 1, ActGenerator::MaxGroups, &number))
            return fail(u"--groups erwartet 1 bis %1, nicht „%2“"_s.arg(ActGenerator::MaxGroups)
                            .arg(parser.value(groups)));
        m_options.groups = int(number);
    }
    if (parser.isSet(extraColumns)) {
        if (!integer(extraColumns, 0, ActGenerator::MaxExtraColumns, &number))
            return fail(u"--extra-columns erwartet 0 bis %1, nicht „%2“"_s.arg(ActGenerator::MaxExtraColumns)
                            .arg(parser.value(extraColumns)));
        m_options.extraColumns = int(number);
    }
    if (parser.isSet(deleted)) {
        bool ok = false;
        const double percent = parser.value(deleted).toDouble(&ok);
        if (!ok || !(percent >= 0.0 && percent <= 100.0))
            return fail(u"--deleted erwartet 0 bis 100, nicht „%1“"_s.arg(parser.value(deleted)));
        m_options.deletedPercent = percent;
    }
    if (parser.isSet(ddfSize)) {
        m_options.ddfMinimumSize = parseSize(parser.value(ddfSize));
        if (m_options.ddfMinimumSize < 0)
            return fail(u"--ddf-size erwartet eine Größe wie 1048576, 512K oder 1M, nicht „%1“"_s
                            .arg(parser.value(ddfSize)));
    }
    if (parser.isSet(ddfVariant)
        && !ActDefinitionFile::variantFromName(parser.value(ddfVariant), &m_options.ddfVariant))
        return fail(u"--ddf-variant kennt „%1“ nicht"_s.arg(parser.value(ddfVariant)));
    if (parser.isSet(date)) {
        m_options.tableDate = QDate::fromString(parser.value(date), Qt::ISODate);
        if (!m_options.tableDate.isValid())
            return fail(u"--date erwartet JJJJ-MM-TT, nicht „%1“"_s.arg(parser.value(date)));
    }
    if (parser.isSet(name)) {
        m_options.baseName = parser.value(name);
        if (m_options.baseName.isEmpty() || m_options.baseName.contains(u'/'))
            return fail(u"--name erwartet einen Dateinamen ohne Ordner, nicht „%1“"_s.arg(m_options.baseName));
    }
    if (parser.isSet(files)) {
        const QStringList names = parser.value(files).split(u',');
        if (names.size() != 3 || names.contains(QString()))
            return fail(u"--files erwartet drei Namen durch Kommas getrennt, nicht „%1“"_s.arg(parser.value(files)));
        m_options.dbfName = names[0];
        m_options.gdbName = names[1];
        m_options.ddfName = names[2];
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return fail(positional.isEmpty() ? u"Zielordner fehlt"_s
                                         : u"Nur ein Zielordner, nicht %1"_s.arg(positional.join(u", "_s)));
    m_folder = positional.first();
    return true;
}
