#pragma once

#include "tools/actgen/ActDefinitionFile.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QtGlobal>

class ActPhoneNumbers;
class ActRandom;

// Writes a sample database of the contact manager into a folder: the
// contact table (BASE.dbf), the group table (BASE.gdb) and the field
// definitions (BASE.ddf). Everything follows from the seed, so the same
// options give the same bytes. Contacts are streamed to the file; a million
// of them need no more memory than ten.
//
// Known contacts are written first, with ids that depend only on their
// place, so that a test or the demo can call a number and know who must be
// found; no random number contains their digits.
class ActGenerator
{
public:
    static constexpr qint64 MaxContacts = 1'000'000;
    static constexpr int MaxExtraColumns = 2000;
    static constexpr int MaxGroups = 20;
    static constexpr int MaxNeighbours = 50;

    struct Contact
    {
        QString uniqueId; // empty: given one by its place among the known contacts
        QString company;
        QString name; // empty: "first last"
        QString firstName;
        QString lastName;
        QString title;
        QString address1;
        QString city;
        QString state;
        QString zip;
        QString country;
        QString phone;
        QString fax;
        QString homePhone;
        QString mobilePhone;
        QString altPhone;
        QString phoneExt;
        QString email;
        QDate lastEdit;
        QString note;
        bool deleted = false;
    };

    // A column of one of the tables with its entry in the .ddf.
    struct Column
    {
        QString name;
        char dbfType = 'C';
        int length = 0;
        QString label;
        quint8 ddfType = ActDefinitionFile::Text;
    };

    struct Options
    {
        quint64 seed = 1;
        qint64 contacts = 1000; // all records, known ones and deleted ones included
        QString baseName = QStringLiteral("KUNDEN");
        // File names as they are to be spelled; empty: baseName + .dbf/.gdb/.ddf.
        QString dbfName;
        QString gdbName;
        QString ddfName;
        int groups = 8;
        double deletedPercent = 2.0;
        int extraColumns = 0; // USER1 ... USERn, 10 characters each
        qint64 ddfMinimumSize = 0;
        ActDefinitionFile::Variant ddfVariant = ActDefinitionFile::Variant::Normal;
        QDate tableDate = QDate(2012, 1, 16); // fixed, so the files do not change with the day
    };

    struct Summary
    {
        qint64 records = 0;
        qint64 deleted = 0;
        int groups = 0;
        QString dbfPath;
        QString gdbPath;
        QString ddfPath;
    };

    ActGenerator() = default;
    explicit ActGenerator(const Options &options);

    Options &options() { return m_options; }
    const Options &options() const { return m_options; }

    // Plants a contact; gives its id.
    QString addKnownContact(const Contact &contact);
    // Plants `count` contacts whose phone numbers share the area code and
    // leading digits ("030", "12345" -> 030 12345xx); gives their ids.
    QStringList addNeighbours(const QString &areaCode, const QString &leadingDigits, int count);
    // Plants sampleContacts() and four neighbours of 030 1234567; gives their ids.
    QStringList addSampleContacts();
    const QList<Contact> &knownContacts() const { return m_known; }

    // An invented set for tests and the demo: umlauts, the usual ways of
    // typing numbers, a deleted contact and one without any number.
    static QList<Contact> sampleContacts();
    static QList<Contact> neighbours(const QString &areaCode, const QString &leadingDigits, int count);
    static QString knownContactId(int index);
    static QList<Column> contactColumns(int extraColumns = 0);
    static QList<Column> groupColumns();

    QString dbfFileName() const;
    QString gdbFileName() const;
    QString ddfFileName() const;

    // Creates the folder when needed; false with errorString() on failure.
    bool write(const QString &folder);
    const Summary &summary() const { return m_summary; }
    const QString &errorString() const { return m_error; }

private:
    bool fail(const QString &text);
    bool checkOptions();
    void reserveKnownNumbers(ActPhoneNumbers &numbers) const;
    bool writeContacts(const QString &path);
    bool writeGroups(const QString &path);
    bool writeDefinitions(const QString &path);
    Contact randomContact(ActRandom &random, ActPhoneNumbers &numbers, qint64 index) const;
    QVariantList values(const Contact &contact, ActRandom &extras) const;
    static QString makeId(quint64 tag, quint64 index);

    Options m_options;
    QList<Contact> m_known;
    Summary m_summary;
    QString m_error;
};
