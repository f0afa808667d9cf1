#pragma once

#include <QDate>
#include <QFile>
#include <QList>
#include <QString>
#include <QVariant>
#include <QtGlobal>

// Writes dBASE III/IV, FoxPro 2.x and Visual FoxPro tables with their memo
// files, for test fixtures and sample databases. Records are streamed to the
// file, so that large tables need no memory:
//   DbfWriter writer(0x83, 0x03);
//   writer.addField(u"NAME"_s, 'C', 30);
//   writer.create(path);
//   writer.appendRecord({u"Müller"_s});
//   writer.finish();
class DbfWriter
{
public:
    struct Field
    {
        QString name;
        char type = 'C';
        int length = 0;
        int decimals = 0;
    };

    struct Record
    {
        QVariantList values;
        bool deleted = false;
    };

    // version: 0x03 dBASE III without memo, 0x83 dBASE III with .dbt,
    // 0x8B dBASE IV with .dbt, 0xF5 FoxPro 2.x with .fpt, 0x30 Visual FoxPro.
    explicit DbfWriter(quint8 version = 0x03, quint8 languageDriver = 0x03);
    ~DbfWriter();
    DbfWriter(const DbfWriter &) = delete;
    DbfWriter &operator=(const DbfWriter &) = delete;

    // The code page text is written in, as iconv names it.
    static const char *codePageName(quint8 languageDriver);
    // Where the memo file of a table goes: KUNDEN.DBF -> KUNDEN.DBT or KUNDEN.FPT.
    static QString memoPathFor(const QString &tablePath, quint8 version);

    // One call for a whole table; false with a description in error.
    static bool writeTable(const QString &path, quint8 version, quint8 languageDriver,
                           const QList<Field> &fields, const QList<Record> &records, QString *error);

    quint8 version() const { return m_version; }
    void setLastUpdate(const QDate &date) { m_lastUpdate = date; }
    // Memo block size for dBASE IV and FoxPro; 0 for the usual one (512 resp. 64).
    void setMemoBlockSize(int bytes) { m_memoBlockSize = bytes; }

    // Length 0 takes the usual length of types whose length is fixed
    // (D 8, L 1, M 10 or 4 in Visual FoxPro, I 4, B 8).
    bool addField(const QString &name, char type, int length = 0, int decimals = 0);
    const QList<Field> &fields() const { return m_fields; }

    bool create(const QString &path);
    // Values in field order, missing ones blank: QString for text, numbers,
    // QDate or "yyyy-MM-dd" for dates, bool for logicals. A QByteArray is
    // put into the field as it is (padded with blanks or cut), to make
    // damaged or unusual contents.
    bool appendRecord(const QVariantList &values, bool deleted = false);
    // Writes the end marker and the final record count and closes the files.
    bool finish();

    quint32 recordCount() const { return m_recordCount; }
    const QString &errorString() const { return m_error; }

private:
    bool fail(const QString &text);
    bool hasMemo() const;
    bool isVisualFoxPro() const { return m_version == 0x30; }
    int headerLength() const;
    int recordLength() const;
    QByteArray encode(const QString &text) const;
    QByteArray header() const;
    bool encodeValue(const Field &field, const QVariant &value, char *out);
    bool writeMemo(const QString &text, quint32 *block);
    bool startMemoFile(const QString &tablePath);
    quint32 memoBlockSize() const;

    quint8 m_version;
    quint8 m_languageDriver;
    QDate m_lastUpdate;
    int m_memoBlockSize = 0;
    QList<Field> m_fields;
    void *m_iconv = nullptr; // iconv_t from UTF-8 to the table's code page

    QFile m_file;
    QFile m_memoFile;
    quint32 m_nextMemoBlock = 0;
    quint32 m_recordCount = 0;
    QByteArray m_record;
    QString m_error;
};
