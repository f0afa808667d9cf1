// Feeds arbitrary bytes, cut into reads at points the input chooses, to the
// splitter of the manager interface's stream and reads every message it
// hands on: none is longer than the limit or holds a blank line, and the
// fields read back never hold a line break.
#include "Lesestuecke.h"
#include "platform/telephony/AmiNachricht.h"
#include "platform/telephony/AmiStrom.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const qsizetype grenze = size > 0 ? 1 + (data[0] % 128) : 1;
    AmiStrom strom(grenze);
    // The high bit: a connection whose greeting was no longer waited for.
    if (size > 0 && (data[0] & 0x80))
        strom.ohneBegruessung();
    inLesestuecken(data, size, [&](QByteArrayView &lesen) {
        while (const auto s = strom.weiter(lesen)) {
            if (s->text.size() > grenze + 1 || s->text.contains("\n\n") || s->text.startsWith('\n'))
                std::abort();
            const AmiNachricht nachricht = AmiNachricht::lies(s->text);
            for (const auto &[name, wert] : nachricht.felder()) {
                if (name.isEmpty() || name.contains(u'\n') || wert.contains(u'\n') || wert.contains(u'\r'))
                    std::abort();
            }
        }
    });
    return 0;
}
