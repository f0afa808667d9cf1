#include "telephony/Anrufhinweis.h"

#include "core/ListViewModel.h"

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

QString Anrufhinweis::ToolTip(const ListItem &eintrag)
{
    QStringList zeilen;
    if (!eintrag.Angerufen.isEmpty())
        zeilen << AngerufenText(eintrag.Angerufen);
    if (eintrag.SmallIcon == BildNachgetragen)
        zeilen << NachgetragenText();
    return zeilen.join(u'\n');
}
