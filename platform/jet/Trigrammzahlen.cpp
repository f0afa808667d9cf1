#include "platform/jet/Trigrammzahlen.h"

#include <QSet>

void Trigrammzahlen::zaehlen(QStringView text)
{
    ++m_texte;
    QSet<QStringView> gesehen;
    for (qsizetype p = 0; p + 3 <= text.size(); ++p) {
        const QStringView tri = text.mid(p, 3);
        if (!gesehen.contains(tri)) {
            gesehen.insert(tri);
            ++m_anzahl[tri.toString()];
        }
    }
}

int Trigrammzahlen::anzahl(QStringView trigramm) const
{
    return m_anzahl.value(trigramm.toString());
}
