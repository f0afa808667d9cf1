// Feeds arbitrary bytes, cut into reads at points the input chooses, to the
// splitter of a call monitor's stream: no line it hands on is longer than
// the limit or holds a line feed, and it never holds more than one line.
#include "platform/telephony/CallMonitorStream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte chooses the size of the reads (1 to 256 bytes) and a small limit.
    const qsizetype stueck = 1 + data[0];
    const qsizetype grenze = 1 + (data[0] % 64);
    CallMonitorStream strom(grenze);
    const char *bytes = reinterpret_cast<const char *>(data + 1);
    qsizetype rest = static_cast<qsizetype>(size - 1);
    while (rest > 0) {
        const qsizetype n = std::min(rest, stueck);
        QByteArrayView lesen(bytes, n);
        while (const auto s = strom.weiter(lesen)) {
            if (s->zuLang ? !s->zeile.isEmpty() : (s->zeile.size() > grenze || s->zeile.contains('\n')))
                std::abort();
        }
        if (!lesen.isEmpty())
            std::abort();
        bytes += n;
        rest -= n;
    }
    return 0;
}
