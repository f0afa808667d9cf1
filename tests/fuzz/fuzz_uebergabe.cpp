// Feeds arbitrary bytes to the reader of hand-overs from a second start, as
// anyone who can reach the local socket might send them: it must answer
// complete, incomplete or invalid without crashing or allocating for a count
// the bytes cannot hold; a complete message must read back the same.
#include "platform/instance/SingleInstance.h"

#include <QDataStream>
#include <QIODevice>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QStringList argumente;
    if (SingleInstance::lies(bytes, &argumente) != SingleInstance::Lesestand::Vollstaendig)
        return 0;
    // What was read, written again, reads the same.
    QByteArray wieder;
    QDataStream out(&wieder, QIODevice::WriteOnly);
    out << argumente;
    QStringList nochmal;
    if (SingleInstance::lies(wieder, &nochmal) != SingleInstance::Lesestand::Vollstaendig || nochmal != argumente)
        std::abort();
    return 0;
}
