// Feeds arbitrary bytes, cut into reads at points the input chooses, to the
// splitter of a call monitor's stream: no line it hands on is longer than
// the limit or holds a line feed, and it never holds more than one line.
#include "Lesestuecke.h"
#include "platform/telephony/CallMonitorStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The first byte also chooses a small limit.
    const qsizetype grenze = size > 0 ? 1 + (data[0] % 64) : 1;
    CallMonitorStream strom(grenze);
    inLesestuecken(data, size, [&](QByteArrayView &lesen) {
        while (const auto s = strom.weiter(lesen)) {
            if (s->zuLang ? !s->zeile.isEmpty() : (s->zeile.size() > grenze || s->zeile.contains('\n')))
                std::abort();
        }
    });
    return 0;
}
