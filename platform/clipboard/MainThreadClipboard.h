#pragma once

#include "platform/clipboard/Clipboard.h"
#include "platform/system/Postfach.h"

#include <QObject>

// The clipboard for work that runs on another thread: written on the thread
// that made this object (the GUI thread) through `postfach`, in order among
// the work's other answers, without holding the work up; read there while
// the reader waits.
class MainThreadClipboard : public Clipboard
{
public:
    MainThreadClipboard(Clipboard &clipboard, Postfach &postfach);

    void Clear() override;
    void SetText(const QString &text) override;
    QString GetText() const override;

private:
    bool hier() const;

    Clipboard &m_clipboard;
    mutable QObject m_kontext;
    Postfach &m_postfach;
};
