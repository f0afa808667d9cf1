#include "tools/actgen/ActGenerator.h"
#include "tools/actgen/ActGeneratorCommandLine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>

#include <cstdio>

using namespace Qt::StringLiterals;

// Writes a sample database of the contact manager; see --help.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    ActGeneratorCommandLine commandLine;
    if (!commandLine.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "rufmon-actgen: %s\n\n%s", qPrintable(commandLine.errorString()),
                     qPrintable(ActGeneratorCommandLine::usage()));
        return 2;
    }
    if (commandLine.helpRequested()) {
        std::fputs(qPrintable(ActGeneratorCommandLine::usage()), stdout);
        return 0;
    }

    QElapsedTimer timer;
    timer.start();
    ActGenerator generator(commandLine.options());
    if (commandLine.demoContacts()) {
        // The contact the demo's second call finds, and neighbours for the
        // similar numbers.
        ActGenerator::Contact demo;
        demo.company = QStringLiteral("Vorführ GmbH");
        demo.firstName = QStringLiteral("Greta");
        demo.lastName = QStringLiteral("Grünwald");
        demo.address1 = QStringLiteral("Friedrichstraße 100");
        demo.zip = QStringLiteral("10117");
        demo.city = QStringLiteral("Berlin");
        demo.phone = QStringLiteral("0301234567");
        demo.fax = QStringLiteral("030 1234599");
        generator.addKnownContact(demo);
        for (const ActGenerator::Contact &n : ActGenerator::neighbours(QStringLiteral("030"), QStringLiteral("12345"), 4)) {
            ActGenerator::Contact c = n;
            c.phone.remove(QRegularExpression(QStringLiteral("[^0-9]")));
            if (c.phone.startsWith(QStringLiteral("49")))
                c.phone = QLatin1Char('0') + c.phone.mid(2);
            generator.addKnownContact(c);
        }
        // The demo's third call: a number stored as people type it.
        ActGenerator::Contact geschrieben;
        geschrieben.company = QStringLiteral("Brunner Logistik KG");
        geschrieben.firstName = QStringLiteral("Bernd");
        geschrieben.lastName = QStringLiteral("Brunner");
        geschrieben.city = QStringLiteral("München");
        geschrieben.phone = QStringLiteral("+49 (0)89 / 12 34 56-0");
        generator.addKnownContact(geschrieben);
    }
    if (commandLine.plantSamples())
        generator.addSampleContacts();
    if (!generator.write(commandLine.folder())) {
        std::fprintf(stderr, "rufmon-actgen: %s\n", qPrintable(generator.errorString()));
        return 1;
    }
    if (!commandLine.quiet()) {
        const ActGenerator::Summary &s = generator.summary();
        const QString text = u"%1: %2 Kontakte, davon %3 gelöscht und %4 bekannt\n%5: %6 Gruppen\n%7\n"
                             u"fertig in %8 ms\n"_s.arg(s.dbfPath)
                                 .arg(s.records)
                                 .arg(s.deleted)
                                 .arg(generator.knownContacts().size())
                                 .arg(s.gdbPath)
                                 .arg(s.groups)
                                 .arg(s.ddfPath)
                                 .arg(timer.elapsed());
        std::fputs(text.toLocal8Bit().constData(), stdout);
    }
    return 0;
}
