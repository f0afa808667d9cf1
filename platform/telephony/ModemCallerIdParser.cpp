#include "platform/telephony/ModemCallerIdParser.h"

#include "platform/system/Steuerzeichen.h"

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Field values end up in the call list and the log; control characters from
// a noisy line must not.
QString printable(QByteArrayView bytes)
{
    QString text = QString::fromLatin1(bytes.trimmed());
    // Read as Latin-1, the bytes 0x80–0x9f are the C1 controls (a terminal's CSI among them).
    return Steuerzeichen::entfernt(text);
}

} // namespace

QList<ModemCallerIdParser::Message> ModemCallerIdParser::feed(QByteArrayView data)
{
    QList<Message> messages;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = start;
        while (end < data.size() && !isLineEnd(data[end]))
            ++end;

        const qsizetype room = MaxLineLength - m_line.size();
        const qsizetype length = end - start;
        if (length > room) {
            m_line.append(data.sliced(start, room));
            m_overlong = true;
        } else {
            m_line.append(data.sliced(start, length));
        }

        if (end == data.size())
            break;
        finishLine(messages);
        start = end + 1;
    }
    return messages;
}

void ModemCallerIdParser::finishLine(QList<Message> &messages)
{
    const bool truncated = m_overlong;
    QByteArray line;
    line.swap(m_line);
    m_overlong = false;
    if (line.trimmed().isEmpty())
        return;
    Message message = classify(line);
    message.truncated = truncated;
    messages.append(std::move(message));
}

void ModemCallerIdParser::reset()
{
    m_line.clear();
    m_overlong = false;
}

qsizetype ModemCallerIdParser::pendingSize() const
{
    return m_line.size();
}

ModemCallerIdParser::Message ModemCallerIdParser::classify(QByteArrayView line)
{
    Message message;
    message.line = line.toByteArray();
    const QByteArray upper = line.trimmed().toByteArray().toUpper();

    if (upper.startsWith("AT") || upper.startsWith("A/")) {
        message.kind = Kind::Echo;
        return message;
    }

    static constexpr struct
    {
        const char *text;
        Kind kind;
    } resultCodes[] = {
        {"OK", Kind::Ok},
        {"ERROR", Kind::Error},
        {"RING", Kind::Ring},
        {"NO CARRIER", Kind::NoCarrier},
        {"BUSY", Kind::Busy},
        {"NO DIALTONE", Kind::NoDialtone},
        {"NO DIAL TONE", Kind::NoDialtone},
        {"NO ANSWER", Kind::NoAnswer},
        {"CONNECT", Kind::Connect},
    };
    for (const auto &code : resultCodes) {
        if (upper == code.text) {
            message.kind = code.kind;
            return message;
        }
    }
    if (upper.startsWith("CONNECT ")) {
        message.kind = Kind::Connect;
        return message;
    }

    const qsizetype equals = upper.indexOf('=');
    if (equals < 0)
        return message;
    const QByteArray key = upper.left(equals).trimmed();
    const QByteArrayView rawValue = line.trimmed().sliced(equals + 1);
    const QString value = printable(rawValue);

    if (key == "DATE") {
        message.kind = Kind::Date;
        message.value = value;
    } else if (key == "TIME") {
        message.kind = Kind::Time;
        message.value = value;
    } else if (key == "NMBR" || key == "DDN_NMBR") {
        if (value.isEmpty() || value.compare(u'O', Qt::CaseInsensitive) == 0) {
            message.kind = Kind::NumberUnavailable;
        } else if (value.compare(u'P', Qt::CaseInsensitive) == 0) {
            message.kind = Kind::NumberPrivate;
        } else {
            message.kind = Kind::Number;
            message.value = value;
        }
    } else if (key == "NAME") {
        message.kind = Kind::Name;
        message.value = value;
    }
    return message;
}
