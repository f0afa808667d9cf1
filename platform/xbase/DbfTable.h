#pragma once

#include "platform/xbase/DbfField.h"
#include "platform/xbase/DbfMemoFile.h"
#include "platform/xbase/DbfValue.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <string>
#include <string_view>
#include <vector>

class DbfCodePage;

// A dBASE III/IV, FoxPro 2.x or Visual FoxPro table file, read-only and
// shared: the file is opened with O_RDONLY and never locked, because the
// program that owns it keeps running beside us. Records are read one chunk
// at a time and a field is only decoded when asked for, so that a table with
// a million contacts can be scanned in little memory and time.
class DbfTable
{
public:
    DbfTable();
    ~DbfTable();
    DbfTable(const DbfTable &) = delete;
    DbfTable &operator=(const DbfTable &) = delete;

    static bool isSupportedVersion(quint8 version);

    // Opens the file and reads its header afresh; false with errorString()
    // when the file cannot be read or its header does not hold together.
    bool open(const QString &path);
    void close();
    bool isOpen() const { return m_fd >= 0; }

    const QString &path() const { return m_path; }
    // Names the file and says what is wrong with it; empty while all is well.
    const QString &errorString() const { return m_error; }
    bool hasError() const { return !m_error.isEmpty(); }

    quint8 version() const { return m_version; }
    quint8 languageDriver() const { return m_languageDriver; }
    const char *codePageName() const;
    QDate lastUpdate() const { return m_lastUpdate; }
    quint32 recordCount() const { return m_recordCount; }
    int headerLength() const { return m_headerLength; }
    int recordLength() const { return m_recordLength; }
    const std::vector<DbfField> &fields() const { return m_fields; }
    // Case-insensitive; -1 when the table has no such field.
    int fieldIndex(const QString &name) const;

    // Scanning: rewind(), then next() until it returns false; hasError()
    // tells an end caused by a damaged or shrunken file from the real end.
    // Deleted records are skipped.
    void rewind();
    // As rewind(), with the scan beginning at that record.
    void rewindTo(quint32 index);
    bool next();
    // Makes the record at that position current, whether or not a scan has
    // passed it; false when there is none there or it is deleted.
    bool seek(quint32 index);
    // Position of the current record in the file, counted from 0, deleted ones included.
    quint32 recordNumber() const { return m_current; }

    // Decodes one field of the current record. Text and blob bytes stay
    // valid until the next call.
    DbfValue value(int field);

    // The stored bytes of one field of the current record, not decoded and
    // not trimmed; empty without a current record.
    std::string_view rawField(int field) const;

    // How many fields this object has decoded; lets tests see that a
    // statement only decodes the columns it uses.
    quint64 decodedValueCount() const { return m_decoded; }

private:
    bool fail(const QString &text);
    bool readHeader();
    bool fill(quint32 index);
    bool readFully(quint64 offset, char *buffer, std::size_t size, std::size_t *got) const;
    DbfValue text(const char *data, std::size_t size, bool trim);
    DbfValue memo(const DbfField &field, const char *data);
    DbfMemoFile::Format memoFormat() const;

    QString m_path;
    QString m_error;
    int m_fd = -1;
    quint64 m_fileSize = 0;

    quint8 m_version = 0;
    quint8 m_languageDriver = 0;
    QDate m_lastUpdate;
    quint32 m_recordCount = 0;
    int m_headerLength = 0;
    int m_recordLength = 0;
    std::vector<DbfField> m_fields;
    const DbfCodePage *m_codePage = nullptr;

    std::vector<char> m_buffer;
    quint32 m_bufferRecords = 0; // capacity of m_buffer in records
    quint32 m_bufferFirst = 0;   // record index of the first record in m_buffer
    quint32 m_bufferCount = 0;   // records currently in m_buffer
    quint32 m_next = 0;
    quint32 m_current = 0;
    const char *m_record = nullptr;

    DbfMemoFile m_memo;
    bool m_memoLookedFor = false;
    std::string m_memoBytes;
    std::string m_text;
    quint64 m_decoded = 0;
};
