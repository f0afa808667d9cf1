#pragma once

// Table and memo files put together byte by byte from the published layout,
// without the writer, so that writer and reader cannot share one misunderstanding.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QtEndian>

#include <cstring>

namespace DbfFixtures {

// One 32-byte field descriptor: name (11, NUL-padded), type, displacement
// (4, only Visual FoxPro fills it), length, decimals, 14 reserved bytes.
inline QByteArray descriptor(const char *name, char type, int length, int decimals = 0, quint32 displacement = 0)
{
    QByteArray d(32, '\0');
    d.replace(0, qsizetype(std::strlen(name)), name);
    d[11] = type;
    qToLittleEndian(displacement, d.data() + 12);
    d[16] = char(length);
    d[17] = char(decimals);
    return d;
}

// The 32 bytes before the field descriptors; last update 2025-03-15.
inline QByteArray fileHeader(quint8 version, quint32 records, quint16 headerLength, quint16 recordLength,
                             quint8 languageDriver)
{
    QByteArray h(32, '\0');
    h[0] = char(version);
    h.replace(1, 3, "\x7D\x03\x0F");
    qToLittleEndian(records, h.data() + 4);
    qToLittleEndian(headerLength, h.data() + 8);
    qToLittleEndian(recordLength, h.data() + 10);
    h[29] = char(languageDriver);
    return h;
}

// A memo block padded with NULs to its size.
inline QByteArray block(const QByteArray &bytes, int size)
{
    return bytes.leftJustified(size, '\0');
}

// dBASE III, code page 1252, header 225, three records of 45 bytes, the second deleted.
inline QByteArray dbase3Kunden()
{
    QByteArray b = fileHeader(0x03, 3, 225, 45, 0x03);
    b += descriptor("NAME", 'C', 10) + descriptor("STRASSE", 'C', 12) + descriptor("PLZ", 'N', 5)
         + descriptor("UMSATZ", 'N', 8, 2) + descriptor("GEBURT", 'D', 8) + descriptor("AKTIV", 'L', 1) + '\x0D';
    //               flag NAME          STRASSE            PLZ      UMSATZ      GEBURT      AKTIV
    b += QByteArray(" " "M\xFCller    " "Stra\xDF" "e 5    " "12345" " 1234.50" "19650314" "T");
    b += QByteArray("*" "Gel\xF6scht  " "Weg 1       "     "99999" "    0.00" "20000101" "F");
    b += QByteArray(" " "Schmidt   " "            "        "     " "   -7.25" "        " "?");
    return b + '\x1A';
}

// FoxPro 2.x, code page 850, NAME C 8 and NOTIZ M 10. Memo pointers: block 8,
// blank, block 999 (beyond the .fpt), block 9 with leading zeros, block 10
// whose length runs past the end of the .fpt.
inline QByteArray foxProNotizen()
{
    QByteArray b = fileHeader(0xF5, 5, 97, 19, 0x02) + descriptor("NAME", 'C', 8) + descriptor("NOTIZ", 'M', 10);
    //               flag NAME    NOTIZ
    b += QByteArray("\x0D" " K\x94hler  " "         8" " Leer    " "          " " Kaputt  " "       999"
                    " Bild    " "0000000009" " Zulang  " "        10" "\x1A");
    return b;
}

// Its .fpt: big-endian next free block and block size 64 in a 512-byte header;
// block 8 text in code page 850, block 9 a picture of four bytes, block 10
// claims 4096 bytes that are not there.
inline QByteArray foxProNotizenMemo()
{
    QByteArray m(512, '\0');
    m[3] = 11;
    m[7] = char(0x40);
    const QByteArray text("Gr\x94\xE1" "e: 1,80 m\r\nZweite Zeile");
    return m + block(QByteArray::fromHex("00000001") + QByteArray(3, '\0') + char(text.size()) + text, 64)
           + block(QByteArray::fromHex("00000000 00000004 DEADBEEF"), 64)
           + block(QByteArray::fromHex("00000001 00001000") + "abc", 64);
}

// Visual FoxPro, code page 1252: ID I, BETRAG B (2 decimals), NAME C 6, ZEIT T,
// PREIS Y at displacements 1, 5, 13, 19, 27; header with the 263-byte
// database backlink 456, records of 35 bytes.
inline QByteArray visualFoxProPosten()
{
    QByteArray b = fileHeader(0x30, 2, 456, 35, 0x03);
    b += descriptor("ID", 'I', 4, 0, 1) + descriptor("BETRAG", 'B', 8, 2, 5) + descriptor("NAME", 'C', 6, 0, 13)
         + descriptor("ZEIT", 'T', 8, 0, 19) + descriptor("PREIS", 'Y', 8, 0, 27) + '\x0D' + QByteArray(263, '\0');
    // -2, 1234.5, "Äpfel", 2024-02-29 13:45:30 (Julian day 2460370, 49530000 ms), 19.99 (199900 / 10000)
    b += ' ' + QByteArray::fromHex("FEFFFFFF 00000000004A9340") + "\xC4pfel "
         + QByteArray::fromHex("D28A2500 90C4F302 DC0C030000000000");
    // 2147483647, -0.25, blank name, empty time, 0
    b += ' ' + QByteArray::fromHex("FFFFFF7F 000000000000D0BF") + "      " + QByteArray(16, '\0');
    return b + '\x1A';
}

// dBASE III with .dbt, NOTIZ M 10. Pointers: block 1, block 2 with leading
// zeros, 0, block 77 (beyond the file).
inline QByteArray dbase3Memo()
{
    return fileHeader(0x83, 4, 65, 11, 0x03) + descriptor("NOTIZ", 'M', 10)
           + QByteArray("\x0D          1 0000000002          0         77\x1A");
}

// Its .dbt: 512-byte blocks, text up to 0x1A 0x1A; the second memo runs on
// through blocks 2 and 3.
inline QByteArray dbase3MemoFile()
{
    QByteArray m(512, '\0');
    m[0] = 4;
    m[16] = 3;
    return m + block(QByteArray("Erste Notiz, Stra\xDF" "e\x1A\x1A"), 512)
           + block(QByteArray(600, 'x') + "\x1A\x1A", 1024);
}

// dBASE IV with .dbt, NOTIZ M 10. Pointers: block 2, block 3 (without the
// FF FF 08 00 mark, as dBASE III writes it), block 4 (length past the end).
inline QByteArray dbase4Memo()
{
    return fileHeader(0x8B, 3, 65, 11, 0x03) + descriptor("NOTIZ", 'M', 10)
           + QByteArray("\x0D          2          3          4\x1A");
}

// Its .dbt: block size 256 at offset 20; a block's length counts its 8 header bytes.
inline QByteArray dbase4MemoFile()
{
    QByteArray m(512, '\0');
    m[0] = 5;
    m[21] = 0x01;
    return m + block(QByteArray::fromHex("FFFF0800 14000000") + "Vierte Notiz\x1A\x1A", 256)
           + block("Ohne Kopf\x1A\x1A", 256) + block(QByteArray::fromHex("FFFF0800 FFFF0000") + "abc", 256);
}

// A table of one field WERT whose records hold the given bytes.
inline QByteArray singleField(char type, int length, const QList<QByteArray> &values, quint8 languageDriver = 0x03)
{
    QByteArray b = fileHeader(0x03, quint32(values.size()), 65, quint16(1 + length), languageDriver);
    b += descriptor("WERT", type, length) + '\x0D';
    for (const QByteArray &value : values)
        b += ' ' + value.leftJustified(length, ' ', true);
    return b + '\x1A';
}

// Writes the file and returns its path; a test cannot go on without it.
inline QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// Replaces bytes at a position, for damaged variants of a fixture.
inline QByteArray patched(QByteArray bytes, int position, const QByteArray &with)
{
    return bytes.replace(position, with.size(), with);
}

} // namespace DbfFixtures
