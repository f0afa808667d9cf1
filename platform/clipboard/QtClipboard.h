#pragma once

#include "platform/clipboard/Clipboard.h"

class QtClipboard : public Clipboard
{
public:
    void Clear() override;
    void SetText(const QString &text) override;
    QString GetText() const override;
};
