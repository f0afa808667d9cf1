#include "platform/clipboard/MainThreadClipboard.h"

#include <QThread>

MainThreadClipboard::MainThreadClipboard(Clipboard &clipboard, Postfach &postfach)
    : m_clipboard(clipboard)
    , m_postfach(postfach)
{
}

bool MainThreadClipboard::hier() const
{
    return QThread::currentThread() == m_kontext.thread();
}

void MainThreadClipboard::Clear()
{
    if (hier())
        m_clipboard.Clear();
    else
        m_postfach.einwerfen([this] { m_clipboard.Clear(); });
}

void MainThreadClipboard::SetText(const QString &text)
{
    if (hier())
        m_clipboard.SetText(text);
    else
        m_postfach.einwerfen([this, text] { m_clipboard.SetText(text); });
}

QString MainThreadClipboard::GetText() const
{
    if (hier())
        return m_clipboard.GetText();
    QString text;
    QMetaObject::invokeMethod(&m_kontext, [this, &text] { text = m_clipboard.GetText(); }, Qt::BlockingQueuedConnection);
    return text;
}
