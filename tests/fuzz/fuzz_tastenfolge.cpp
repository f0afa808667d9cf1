// Feeds arbitrary text to the key-notation reader (the macro comes from the
// settings file): it must stop at a fault with a position inside the text,
// never crash, loop or produce more keys than it allows.
#include "actcontrol/Tastenfolge.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const Tastenfolge folge = Tastenfolge::lies(text);
    const auto laenge = static_cast<int>(text.toStdU32String().size());
    if (folge.fehlerStelle < 0 || folge.fehlerStelle > laenge || folge.tasten.size() > 10000
        || folge.fehlerfrei() != folge.fehler.isEmpty())
        std::abort();
    for (const Tastendruck &t : folge.tasten) {
        if ((t.taste == Taste::Zeichen) != (t.zeichen != 0) || t.taste > Taste::F16)
            std::abort();
    }
    return 0;
}
