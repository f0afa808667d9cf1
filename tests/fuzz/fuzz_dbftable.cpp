// Feeds arbitrary bytes as a table file to the dBASE reader: every record and
// every field is decoded; it must report damage, never crash or over-read.
#include "platform/xbase/DbfTable.h"

#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString pfad = QDir::tempPath() + QStringLiteral("/rufmon-fuzz-%1.dbf").arg(::getpid());
    {
        QFile f(pfad);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    DbfTable tabelle;
    if (!tabelle.open(pfad))
        return 0;
    const int felder = static_cast<int>(tabelle.fields().size());
    int saetze = 0;
    while (tabelle.next() && ++saetze < 10000) {
        for (int i = 0; i < felder; ++i)
            (void)tabelle.value(i).toVariant();
    }
    return 0;
}
