#pragma once

#include <QString>

// The main window as dialing sees it: the telephony panel of the status bar,
// the hint on the number field, and the line address the user chose.
class Waehlanzeige
{
public:
    virtual ~Waehlanzeige() = default;

    // Status bar panel 1.
    virtual void setTelefonText(const QString &text) = 0;
    // The tool tip of the telephone field beside the address box.
    virtual void setWaehlhinweis(const QString &text) = 0;
    // The selected position of the address box; -1 for none.
    virtual int Adresse() const = 0;
};
