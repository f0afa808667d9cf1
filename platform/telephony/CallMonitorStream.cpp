#include "platform/telephony/CallMonitorStream.h"

#include <utility>

CallMonitorStream::CallMonitorStream(qsizetype hoechstens)
    : m_hoechstens(hoechstens)
{
}

std::optional<CallMonitorStream::Stueck> CallMonitorStream::weiter(QByteArrayView &data)
{
    while (!data.isEmpty()) {
        const qsizetype end = data.indexOf('\n');
        const QByteArrayView piece = end < 0 ? data : data.first(end);
        data = end < 0 ? QByteArrayView() : data.sliced(end + 1);
        if (m_skipping) {
            m_skipping = end < 0;
            continue;
        }
        // One more byte for the CR of a CR LF ending.
        if (m_line.size() + piece.size() > m_hoechstens + 1) {
            m_line.clear();
            m_skipping = end < 0;
            return Stueck{true, {}};
        }
        m_line.append(piece);
        if (end < 0)
            return std::nullopt;
        QByteArray line = std::exchange(m_line, {});
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > m_hoechstens)
            return Stueck{true, {}};
        return Stueck{false, std::move(line)};
    }
    return std::nullopt;
}

void CallMonitorStream::leeren()
{
    m_line.clear();
    m_skipping = false;
}
