#include "actdb/Firmenauskunft.h"

#include "actdb/ActPfad.h"
#include "actdb/clActDBF.h"

Firmenauskunft::Firmenauskunft(Dialogs &dialogs, Clipboard &clipboard, const modOptionen &optionen)
    : m_dialogs(dialogs)
    , m_clipboard(clipboard)
    , m_optionen(optionen)
{
}

QHash<QString, QString> Firmenauskunft::Firmen(const QString &datenbank, const QStringList &kontaktIds)
{
    QHash<QString, QString> firmen;
    if (kontaktIds.isEmpty() || datenbank.isEmpty() || ActPfad::finde(datenbank).isEmpty())
        return firmen;
    clActDBF tabelle(m_dialogs, m_clipboard, m_optionen);
    if (!tabelle.init(datenbank))
        return firmen;
    for (const QString &id : kontaktIds) {
        const QString firma = tabelle.Firma(id);
        if (!firma.isEmpty())
            firmen.insert(id, firma);
    }
    tabelle.kill();
    return firmen;
}
