// Feeds arbitrary bytes as a router's WWW-Authenticate header to the Digest
// reader and answers every challenge it takes: the answer is one header
// value, without a control character that could end it or add another.
#include "platform/telephony/DigestAnmeldung.h"

#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray kopf(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const DigestAnmeldung::Angebot angebot = DigestAnmeldung::lies(kopf);
    if (!angebot.digest)
        return 0;
    const QByteArray antwort = angebot.digest->antwort(u"fritz1234"_s, u"geheim"_s, "POST", "/upnp/control/x_voip", "c");
    if (!antwort.startsWith("Digest ") || antwort.contains("geheim"))
        std::abort();
    for (const char c : antwort) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            std::abort();
    }
    return 0;
}
