#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class Clipboard;
class Dialogs;
class modOptionen;

// The companies of contacts, read from ACT!'s contact table with a handle
// of its own, so that an identification under way keeps its own. Nothing
// is shown: a company that cannot be read is left out.
class Firmenauskunft
{
public:
    Firmenauskunft(Dialogs &dialogs, Clipboard &clipboard, const modOptionen &optionen);

    // id → company for the contacts of the table at `datenbank` that have one.
    QHash<QString, QString> Firmen(const QString &datenbank, const QStringList &kontaktIds);

private:
    Dialogs &m_dialogs;
    Clipboard &m_clipboard;
    const modOptionen &m_optionen;
};
