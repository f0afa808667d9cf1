#pragma once

#include <QList>
#include <QString>

// The serial ports a modem may sit on, as udev names them by the device's
// own identity in /dev/serial/by-id: the same name after every restart and
// replugging, unlike ttyACM0, ttyACM1, …
class ModemSuche
{
public:
    static constexpr const char16_t *StandardOrdner = u"/dev/serial/by-id";
    static constexpr int MaxSchnittstellen = 64;

    struct Schnittstelle
    {
        QString name;   // readable, from the entry's name
        QString pfad;   // the entry itself, as the settings keep it
        QString geraet; // what it points to now ("/dev/ttyACM0")
    };

    // The entries of the folder, sorted by name; none when there is no such folder.
    static QList<Schnittstelle> schnittstellen(const QString &ordner = QString::fromUtf16(StandardOrdner));
    // "usb-U.S._Robotics_USB_Modem_0001-if00" → "U.S. Robotics USB Modem 0001".
    static QString anzeigename(const QString &eintrag);
};
