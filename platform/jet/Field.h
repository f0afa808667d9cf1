#pragma once

#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

// One column of a recordset or a table definition: its name, type, size
// and, inside a recordset, the current row's value (invalid QVariant = Null).
class Field
{
public:
    Field() = default;
    Field(QString name, int type, int size, bool allowZeroLength);

    const QString &Name() const { return m_name; }
    int Type() const { return m_type; }
    int Size() const { return m_size; }
    bool AllowZeroLength() const { return m_allowZeroLength; }
    void setSize(int size) { m_size = size; }
    void setAllowZeroLength(bool allow) { m_allowZeroLength = allow; }

    const QVariant &Value() const { return m_value; }
    bool isNull() const { return !m_value.isValid() || m_value.isNull(); }
    // Set while a new row is being edited; anywhere else an error.
    void setValue(const QVariant &value);
    // The value's text form: numbers plain, dates in the regional form
    // (date only at midnight), Null as an empty text.
    QString Text() const;

    // Used by the recordset that owns the field.
    void laden(const QVariant &value) { m_value = value; }
    void setBearbeitbar(bool bearbeitbar) { m_bearbeitbar = bearbeitbar; }

private:
    QString m_name;
    int m_type = 10;
    int m_size = 255;
    bool m_allowZeroLength = false;
    bool m_bearbeitbar = false;
    QVariant m_value;
};

// The fields of a recordset or a table definition, by 0-based index or by
// name in any letter case.
class Fields
{
public:
    int Count() const { return static_cast<int>(m_fields.size()); }
    Field &operator[](int index);
    Field &operator[](const QString &name);
    const Field &operator[](int index) const;
    const Field &operator[](const QString &name) const;
    // -1 when there is no such field.
    int indexOf(const QString &name) const;
    void Append(const Field &field);
    void clear() { m_fields.clear(); }

    auto begin() { return m_fields.begin(); }
    auto end() { return m_fields.end(); }
    auto begin() const { return m_fields.begin(); }
    auto end() const { return m_fields.end(); }

private:
    std::vector<Field> m_fields;
};
