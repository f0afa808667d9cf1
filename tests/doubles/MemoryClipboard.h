#pragma once

#include "platform/clipboard/Clipboard.h"

// A clipboard that lives in memory and counts how often it was written.
class MemoryClipboard : public Clipboard
{
public:
    void Clear() override { m_text.clear(); ++m_clears; }
    void SetText(const QString &text) override { m_text = text; ++m_writes; }
    QString GetText() const override { return m_text; }

    int writes() const { return m_writes; }
    int clears() const { return m_clears; }

private:
    QString m_text;
    int m_writes = 0;
    int m_clears = 0;
};
