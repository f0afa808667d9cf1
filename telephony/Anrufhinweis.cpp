#include "telephony/Anrufhinweis.h"

#include "core/Anruf.h"

#include <QStringList>

using namespace Qt::StringLiterals;

QString Anrufhinweis::AngerufenText(const QString &angerufen)
{
    return u"Angerufen: "_s + angerufen;
}

QString Anrufhinweis::NachgetragenText()
{
    return u"Eingegangen, während Rufmon aus war"_s;
}

QString Anrufhinweis::ToolTip(const Anruf &anruf)
{
    QStringList zeilen;
    if (!anruf.angerufen.isEmpty())
        zeilen << AngerufenText(anruf.angerufen);
    // The picture tells it also for calls read back from the store.
    if (anruf.bild == BildNachgetragen)
        zeilen << NachgetragenText();
    return zeilen.join(u'\n');
}
