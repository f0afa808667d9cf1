#pragma once

#include <QString>

// The desktop clipboard, plain text only.
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    virtual void Clear() = 0;
    virtual void SetText(const QString &text) = 0;
    virtual QString GetText() const = 0;
};
