// Feeds arbitrary bytes, as a router's call monitor or a modem might send
// them, to both line parsers: they must answer or refuse, never crash, read
// past the bytes or hand on a control character.
#include "platform/telephony/CallMonitorLine.h"
#include "platform/telephony/ModemCallerIdParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool sauber(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() <= 0x9f))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    QString problem;
    if (const auto zeile = CallMonitorLine::parse(bytes, &problem)) {
        if (!sauber(zeile->party()) || !sauber(zeile->ownNumber()))
            std::abort();
    }

    // The same bytes in two pieces, as reads split them.
    ModemCallerIdParser modem;
    const qsizetype mitte = bytes.size() / 2;
    QList<ModemCallerIdParser::Message> meldungen = modem.feed(bytes.first(mitte));
    meldungen += modem.feed(bytes.sliced(mitte));
    for (const auto &m : meldungen) {
        if (m.line.size() > ModemCallerIdParser::MaxLineLength || !sauber(m.value))
            std::abort();
    }
    return 0;
}
