#include "platform/jet/Trigrammzahlen.h"

#include <algorithm>
#include <vector>

quint64 Trigrammzahlen::schluessel(QStringView trigramm)
{
    quint64 s = 0;
    for (const QChar c : trigramm)
        s = (s << 16) | c.unicode();
    return s;
}

void Trigrammzahlen::zaehlen(QStringView text)
{
    ++m_texte;
    std::vector<quint64> gesehen;
    gesehen.reserve(std::size_t(std::max<qsizetype>(text.size() - 2, 0)));
    for (qsizetype p = 0; p + 3 <= text.size(); ++p) {
        const quint64 s = schluessel(text.mid(p, 3));
        if (std::find(gesehen.begin(), gesehen.end(), s) == gesehen.end()) {
            gesehen.push_back(s);
            ++m_anzahl[s];
        }
    }
}

int Trigrammzahlen::anzahl(QStringView trigramm) const
{
    return trigramm.size() == 3 ? m_anzahl.value(schluessel(trigramm)) : 0;
}
