#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// Turns what a modem sends into its messages: result codes ("OK", "RING",
// "BUSY", …) and the fields of a caller-ID block ("NMBR = 0301234567").
// Lines end in CR, LF or both; empty lines and echoes of our own commands are
// dropped. A line is cut at MaxLineLength bytes, so garbage without line ends
// never holds more than that.
class ModemCallerIdParser
{
public:
    static constexpr qsizetype MaxLineLength = 256;

    enum class Kind {
        Ok,
        Error,
        Ring,
        NoCarrier,
        Busy,
        NoDialtone,
        NoAnswer,
        Connect,
        Date,
        Time,
        Number,            // value is the number
        NumberUnavailable, // out of area, not sent by the network
        NumberPrivate,     // withheld by the caller
        Name,
        Echo,
        Other,
    };

    struct Message
    {
        Kind kind = Kind::Other;
        QString value;
        // The line as received (cut at MaxLineLength).
        QByteArray line;
        // The line was longer than MaxLineLength and lost its end.
        bool truncated = false;
    };

    // Returns the messages completed by data; an unfinished line is kept for
    // the next call.
    QList<Message> feed(QByteArrayView data);
    void reset();
    // Bytes of the unfinished line held back; never more than MaxLineLength.
    qsizetype pendingSize() const;

    static Message classify(QByteArrayView line);

private:
    void finishLine(QList<Message> &messages);

    QByteArray m_line;
    bool m_overlong = false;
};
