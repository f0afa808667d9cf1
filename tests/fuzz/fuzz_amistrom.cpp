// Feeds arbitrary bytes, cut into reads at points the input chooses, to the
// splitter of the manager interface's stream and reads every message it
// hands on: none is longer than the limit or holds a blank line, and the
// fields read back never hold a line break.
#include "platform/telephony/AmiNachricht.h"
#include "platform/telephony/AmiStrom.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const qsizetype stueck = 1 + data[0];
    const qsizetype grenze = 1 + (data[0] % 128);
    AmiStrom strom(grenze);
    const char *bytes = reinterpret_cast<const char *>(data + 1);
    qsizetype rest = static_cast<qsizetype>(size - 1);
    while (rest > 0) {
        const qsizetype n = std::min(rest, stueck);
        QByteArrayView lesen(bytes, n);
        while (const auto s = strom.weiter(lesen)) {
            if (s->text.size() > grenze + 1 || s->text.contains("\n\n") || s->text.startsWith('\n'))
                std::abort();
            const AmiNachricht nachricht = AmiNachricht::lies(s->text);
            for (const auto &[name, wert] : nachricht.felder()) {
                if (name.isEmpty() || name.contains(u'\n') || wert.contains(u'\n') || wert.contains(u'\r'))
                    std::abort();
            }
        }
        if (!lesen.isEmpty())
            std::abort();
        bytes += n;
        rest -= n;
    }
    return 0;
}
