#pragma once

#include <QByteArrayView>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// What a socket hands over, as a fuzzer's input chooses it: the bytes after
// the first, in reads of 1 to 256 bytes (the first byte tells how many).
// `lesen` takes each read and must use it up, as a stream splitter does.
template<typename Lesen>
void inLesestuecken(const std::uint8_t *data, std::size_t size, Lesen lesen)
{
    if (size < 1)
        return;
    const qsizetype stueck = 1 + data[0];
    const char *bytes = reinterpret_cast<const char *>(data + 1);
    qsizetype rest = static_cast<qsizetype>(size - 1);
    while (rest > 0) {
        const qsizetype n = std::min(rest, stueck);
        QByteArrayView gelesen(bytes, n);
        lesen(gelesen);
        if (!gelesen.isEmpty())
            std::abort();
        bytes += n;
        rest -= n;
    }
}
