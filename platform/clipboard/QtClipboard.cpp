#include "platform/clipboard/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void QtClipboard::Clear()
{
    QGuiApplication::clipboard()->clear();
}

void QtClipboard::SetText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

QString QtClipboard::GetText() const
{
    return QGuiApplication::clipboard()->text();
}
