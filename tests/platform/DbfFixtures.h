#pragma once

// Table and memo files put together byte by byte from the published layout of
// dBASE and FoxPro files, without the writer, so that writer and reader cannot
// share one misunderstanding. Used by the reader and the SQL module tests.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstring>

namespace DbfFixtures {

// One 32-byte field descriptor: name (11, NUL-padded), type, displacement
// (4, only Visual FoxPro fills it), length, decimals, 14 reserved bytes.
inline QByteArray descriptor(const char *name, char type, int length, int decimals = 0, quint32 displacement = 0)
{
    QByteArray d(32, '\0');
    std::memcpy(d.data(), name, std::strlen(name));
    d[11] = type;
    d[12] = char(displacement & 0xFF);
    d[13] = char(displacement >> 8 & 0xFF);
    d[14] = char(displacement >> 16 & 0xFF);
    d[15] = char(displacement >> 24 & 0xFF);
    d[16] = char(length);
    d[17] = char(decimals);
    return d;
}

// The 32 bytes before the field descriptors.
inline QByteArray fileHeader(quint8 version, quint32 records, quint16 headerLength, quint16 recordLength,
                             quint8 languageDriver)
{
    QByteArray h(32, '\0');
    h[0] = char(version);
    h[1] = char(125); // last update 2025-03-15
    h[2] = char(3);
    h[3] = char(15);
    for (int i = 0; i < 4; ++i)
        h[4 + i] = char(records >> (8 * i) & 0xFF);
    h[8] = char(headerLength & 0xFF);
    h[9] = char(headerLength >> 8);
    h[10] = char(recordLength & 0xFF);
    h[11] = char(recordLength >> 8);
    h[29] = char(languageDriver);
    return h;
}

// dBASE III, code page 1252, three records of 45 bytes, the second deleted:
//   NAME C 10, STRASSE C 12, PLZ N 5, UMSATZ N 8.2, GEBURT D, AKTIV L
// Header 32 + 6 * 32 + 1 = 225 bytes, file 225 + 3 * 45 + 1 = 361 bytes.
inline QByteArray dbase3Kunden()
{
    QByteArray b = fileHeader(0x03, 3, 225, 45, 0x03);
    b += descriptor("NAME", 'C', 10);
    b += descriptor("STRASSE", 'C', 12);
    b += descriptor("PLZ", 'N', 5);
    b += descriptor("UMSATZ", 'N', 8, 2);
    b += descriptor("GEBURT", 'D', 8);
    b += descriptor("AKTIV", 'L', 1);
    b += '\x0D';
    //               flag NAME          STRASSE            PLZ      UMSATZ      GEBURT      AKTIV
    b += QByteArray(" " "M\xFCller    " "Stra\xDF" "e 5    " "12345" " 1234.50" "19650314" "T");
    b += QByteArray("*" "Gel\xF6scht  " "Weg 1       "     "99999" "    0.00" "20000101" "F");
    b += QByteArray(" " "Schmidt   " "            "        "     " "   -7.25" "        " "?");
    b += '\x1A';
    return b;
}

// FoxPro 2.x, code page 850, NAME C 8 and NOTIZ M 10; header 97, records 19 bytes.
// Memo pointers: block 8, blank, block 999 (beyond the .fpt), block 9 with
// leading zeros, block 10 whose length runs past the end of the .fpt.
inline QByteArray foxProNotizen()
{
    QByteArray b = fileHeader(0xF5, 5, 97, 19, 0x02);
    b += descriptor("NAME", 'C', 8);
    b += descriptor("NOTIZ", 'M', 10);
    b += '\x0D';
    b += QByteArray(" K\x94hler  " "         8");
    b += QByteArray(" Leer    " "          ");
    b += QByteArray(" Kaputt  " "       999");
    b += QByteArray(" Bild    " "0000000009");
    b += QByteArray(" Zulang  " "        10");
    b += '\x1A';
    return b;
}

// The .fpt to foxProNotizen(): big-endian next free block and block size 64
// in a 512-byte header (blocks 0 to 7); block 8 text memo, block 9 a picture
// memo of four bytes, block 10 claims 4096 bytes that are not there.
inline QByteArray foxProNotizenMemo()
{
    QByteArray m(512, '\0');
    m[3] = 11;         // next free block
    m[7] = char(0x40); // block size 64
    const QByteArray text("Gr\x94\xE1" "e: 1,80 m\r\nZweite Zeile"); // "Größe: ..." in code page 850
    QByteArray block8 = QByteArray::fromHex("00000001") + QByteArray(3, '\0') + char(text.size()) + text;
    block8.append(64 - block8.size(), '\0');
    QByteArray block9 = QByteArray::fromHex("00000000 00000004 DEADBEEF");
    block9.append(64 - block9.size(), '\0');
    QByteArray block10 = QByteArray::fromHex("00000001 00001000") + QByteArray("abc");
    block10.append(64 - block10.size(), '\0');
    return m + block8 + block9 + block10;
}

// Visual FoxPro, code page 1252, ID I, BETRAG B (2 decimals), NAME C 6,
// ZEIT T, PREIS Y; displacements 1, 5, 13, 19, 27; records of 35 bytes;
// header 32 + 5 * 32 + 1 + 263 (database backlink) = 456 bytes.
inline QByteArray visualFoxProPosten()
{
    QByteArray b = fileHeader(0x30, 2, 456, 35, 0x03);
    b += descriptor("ID", 'I', 4, 0, 1);
    b += descriptor("BETRAG", 'B', 8, 2, 5);
    b += descriptor("NAME", 'C', 6, 0, 13);
    b += descriptor("ZEIT", 'T', 8, 0, 19);
    b += descriptor("PREIS", 'Y', 8, 0, 27);
    b += '\x0D';
    b += QByteArray(263, '\0');
    // ID -2, BETRAG 1234.5, "Äpfel", 2024-02-29 13:45:30 (Julian day 2460370,
    // 49530000 ms), PREIS 19.99 (199900 ten-thousandths)
    b += ' ';
    b += QByteArray::fromHex("FEFFFFFF" "00000000004A9340");
    b += QByteArray("\xC4pfel ");
    b += QByteArray::fromHex("D28A2500" "90C4F302" "DC0C030000000000");
    // ID 2147483647, BETRAG -0.25, blank name, empty time, PREIS 0
    b += ' ';
    b += QByteArray::fromHex("FFFFFF7F" "000000000000D0BF");
    b += QByteArray("      ");
    b += QByteArray(16, '\0');
    b += '\x1A';
    return b;
}

// dBASE III with .dbt: NOTIZ M 10; header 65, records 11 bytes. Pointers:
// block 1, block 2 written with leading zeros, 0, block 77 (beyond the file).
inline QByteArray dbase3Memo()
{
    QByteArray b = fileHeader(0x83, 4, 65, 11, 0x03);
    b += descriptor("NOTIZ", 'M', 10);
    b += '\x0D';
    b += QByteArray("          1");
    b += QByteArray(" 0000000002");
    b += QByteArray("          0");
    b += QByteArray("         77");
    b += '\x1A';
    return b;
}

// Its .dbt: 512-byte blocks, text up to 0x1A 0x1A; the second memo is longer
// than a block and so runs on through blocks 2 and 3.
inline QByteArray dbase3MemoFile()
{
    QByteArray m(512, '\0');
    m[0] = 4; // next free block
    m[16] = 3;
    QByteArray block1 = QByteArray("Erste Notiz, Stra\xDF" "e") + "\x1A\x1A";
    block1.append(512 - block1.size(), '\0');
    QByteArray long2 = QByteArray(600, 'x') + "\x1A\x1A";
    long2.append(1024 - long2.size(), '\0');
    return m + block1 + long2;
}

// dBASE IV with .dbt: NOTIZ M 10, records 11 bytes; block size 256 at
// offset 20; the length in a block counts its 8 header bytes. Pointers: block 2, block 3 (no FF FF 08 00, dBASE III style),
// block 4 (its length points past the end of the file).
inline QByteArray dbase4Memo()
{
    QByteArray b = fileHeader(0x8B, 3, 65, 11, 0x03);
    b += descriptor("NOTIZ", 'M', 10);
    b += '\x0D';
    b += QByteArray("          2");
    b += QByteArray("          3");
    b += QByteArray("          4");
    b += '\x1A';
    return b;
}

inline QByteArray dbase4MemoFile()
{
    QByteArray m(512, '\0'); // header: blocks 0 and 1
    m[0] = 5;
    m[20] = 0x00;
    m[21] = 0x01; // block size 256, little-endian
    QByteArray block2 = QByteArray::fromHex("FFFF0800 14000000") + QByteArray("Vierte Notiz\x1A\x1A");
    block2.append(256 - block2.size(), '\0');
    QByteArray block3 = QByteArray("Ohne Kopf") + "\x1A\x1A";
    block3.append(256 - block3.size(), '\0');
    QByteArray block4 = QByteArray::fromHex("FFFF0800 FFFF0000") + QByteArray("abc");
    block4.append(256 - block4.size(), '\0');
    return m + block2 + block3 + block4;
}

// A table of one text field of the given width and language driver whose
// records hold the given bytes.
inline QByteArray singleField(char type, int length, const QList<QByteArray> &values, quint8 languageDriver = 0x03,
                              int decimals = 0)
{
    QByteArray b = fileHeader(0x03, quint32(values.size()), 65, quint16(1 + length), languageDriver);
    b += descriptor("WERT", type, length, decimals);
    b += '\x0D';
    for (const QByteArray &value : values) {
        b += ' ';
        b += value.leftJustified(length, ' ', true);
    }
    b += '\x1A';
    return b;
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces bytes at a position, for damaged variants of a fixture.
inline QByteArray patched(QByteArray bytes, int position, const QByteArray &with)
{
    bytes.replace(position, with.size(), with);
    return bytes;
}

} // namespace DbfFixtures
