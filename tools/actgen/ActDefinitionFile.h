#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

// Writes the contact manager's field-definition file (.ddf). Its reader
// splits the file into runs of non-zero bytes. The contact fields come
// first, then a run with "ACTIVITY SCHEMA", filler, a run with
// "GROUP INFO SCHEMA", the group fields and a run with "SALES SCHEMA".
// One field is
//   11 22 <k> <name, k bytes> <size> 01 <type>   one run; the last byte is the type
//   00                                            ends the run
//   00 00                                         not read
//   <n> <label, n bytes in Windows-1252> 00
// Type 7 marks a phone field. Broken variants are there to test the reader.
class ActDefinitionFile
{
public:
    enum class Variant {
        Normal,
        WithoutActivityMarker,
        WithoutGroupMarker,
        Truncated,    // ends in the middle of the contact fields
        LabelPastEnd, // the last label's length runs past the end of the file
        Empty,
    };

    enum Type : quint8 { Text = 1, Date = 2, Number = 3, Memo = 4, Email = 5, RecordId = 6, Phone = 7 };

    struct Field
    {
        QString name;
        QString label;
        quint8 type = Text;
        int size = 1; // the column's width, kept in the record like the original does
    };

    static const char *const ActivityMarker;
    static const char *const GroupMarker;
    static const char *const SalesMarker;

    void setContactFields(const QList<Field> &fields) { m_contactFields = fields; }
    void setGroupFields(const QList<Field> &fields) { m_groupFields = fields; }
    void setVariant(Variant variant) { m_variant = variant; }
    // Pads the file with filler runs between the sections until it has at
    // least this many bytes; 0 for no padding.
    void setMinimumSize(qint64 bytes) { m_minimumSize = bytes; }

    bool write(const QString &path);
    const QString &errorString() const { return m_error; }

    // The bytes of one field; labelLength overrides the label's length byte.
    static QByteArray fieldRecord(const Field &field, int labelLength = -1);
    // Windows-1252; characters it lacks become '?'.
    static QByteArray toWindows1252(const QString &text);

    static QString variantName(Variant variant);
    static bool variantFromName(const QString &name, Variant *variant);
    static QList<Variant> allVariants();

private:
    bool fail(const QString &text);
    bool check(const QList<Field> &fields);
    QByteArray head() const;
    QByteArray tail() const;
    static QByteArray markerRun(const char *marker);

    QList<Field> m_contactFields;
    QList<Field> m_groupFields;
    Variant m_variant = Variant::Normal;
    qint64 m_minimumSize = 0;
    QString m_error;
};
