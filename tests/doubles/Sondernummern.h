#pragma once

#include "tools/actgen/ActGenerator.h"

#include <QDir>
#include <QString>

#include <utility>

// A generated ACT! database of 3,000 contacts (always the same ones) plus one
// contact for each pair of name and phone value as written, for the tests
// of the table searches. Gives the contact table (.dbf), empty on failure.
inline QString schreibeSondernummern(const QString &ordner,
                                     std::initializer_list<std::pair<QString, QString>> besondere,
                                     QString *fehler = nullptr)
{
    ActGenerator g;
    g.options().seed = 23;
    g.options().contacts = 3000;
    g.addSampleContacts();
    for (const auto &[name, telefon] : besondere) {
        ActGenerator::Contact c;
        c.lastName = c.name = name;
        c.phone = telefon;
        g.addKnownContact(c);
    }
    if (!g.write(QDir(ordner).filePath(QStringLiteral("act")))) {
        if (fehler)
            *fehler = g.errorString();
        return {};
    }
    return g.summary().dbfPath;
}
