// Feeds arbitrary bytes to the reader of ACT!'s field-definition file: it
// must answer or raise its error, never crash or read past the bytes.
#include "actdb/Felddefinitionen.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QStringList namen = {QStringLiteral("PHONE"), QStringLiteral("FAX"), QStringLiteral("NAME"),
                                      QStringLiteral("A"), QStringLiteral("GROUP_NAME")};
    try {
        const Felddefinitionen ddf(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
        try {
            ddf.Kontaktfelder(namen);
        } catch (const Felddefinitionen::Fehler &) {
        }
        try {
            ddf.Gruppenfelder(namen);
        } catch (const Felddefinitionen::Fehler &) {
        }
    } catch (const Felddefinitionen::Fehler &) {
    }
    return 0;
}
