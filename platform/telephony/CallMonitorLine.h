#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QStringList>

#include <optional>

// One report line of a router's call monitor, e.g.
// "24.12.24 18:30:05;RING;0;0301234567;987654;SIP0;". The line comes from
// the network, so parsing checks everything and never trusts a length.
class CallMonitorLine
{
public:
    enum class Kind { Ring, Call, Connect, Disconnect };

    // Parses one line given without its line ending. A line that cannot be
    // used gives nothing and, in problem, a short German description.
    static std::optional<CallMonitorLine> parse(QByteArrayView line, QString *problem = nullptr);
    // Removes the one closing ";" and splits the rest at every ";", keeping
    // empty fields: an empty field is a real value (a withheld number).
    static QStringList splitFields(const QString &line);

    Kind kind() const { return m_kind; }
    QDateTime time() const { return m_time; }
    int connectionId() const { return m_connectionId; }
    // The number of the other party: the caller (RING, may be empty), the
    // dialled number (CALL), the connected party (CONNECT).
    QString party() const;
    // The router's own number that was called (RING) or that calls (CALL).
    QString ownNumber() const;
    // All fields of the line, the date and kind included.
    const QStringList &fields() const { return m_fields; }

private:
    CallMonitorLine() = default;

    QString field(qsizetype index) const { return m_fields.value(index); }

    Kind m_kind = Kind::Ring;
    QDateTime m_time;
    int m_connectionId = 0;
    QStringList m_fields;
};
