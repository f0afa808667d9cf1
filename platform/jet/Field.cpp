#include "platform/jet/Field.h"

#include "platform/jet/JetFehler.h"
#include "platform/registry/RegionalSettings.h"

using namespace Qt::StringLiterals;

Field::Field(QString name, int type, int size, bool allowZeroLength)
    : m_name(std::move(name))
    , m_type(type)
    , m_size(size)
    , m_allowZeroLength(allowZeroLength)
{
}

void Field::setValue(const QVariant &value)
{
    if (!m_bearbeitbar)
        throw JetFehler(JetFehler::UpdateOhneAddNew, u"Update oder CancelUpdate ohne AddNew oder Edit."_s);
    m_value = value;
}

QString Field::Text() const
{
    if (isNull())
        return QString();
    switch (m_value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime moment = m_value.toDateTime();
        if (moment.time() == QTime(0, 0))
            return RegionalSettings::ShortDate(moment.date());
        return RegionalSettings::DateTimeText(moment);
    }
    case QMetaType::Double:
        return QString::number(m_value.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return m_value.toBool() ? u"Wahr"_s : u"Falsch"_s;
    default:
        return m_value.toString();
    }
}

namespace {

[[noreturn]] void nichtGefunden()
{
    throw JetFehler(JetFehler::ElementNichtGefunden, u"Element in dieser Auflistung nicht gefunden."_s);
}

} // namespace

int Fields::indexOf(const QString &name) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_fields[i].Name().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

Field &Fields::operator[](int index)
{
    if (index < 0 || index >= Count())
        nichtGefunden();
    return m_fields[index];
}

const Field &Fields::operator[](int index) const
{
    if (index < 0 || index >= Count())
        nichtGefunden();
    return m_fields[index];
}

Field &Fields::operator[](const QString &name)
{
    return (*this)[indexOf(name)];
}

const Field &Fields::operator[](const QString &name) const
{
    return (*this)[indexOf(name)];
}

void Fields::Append(const Field &field)
{
    m_fields.push_back(field);
}
