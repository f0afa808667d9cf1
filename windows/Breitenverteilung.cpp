#include "windows/Breitenverteilung.h"

#include <algorithm>
#include <numeric>

QList<int> VerteileBreiten(int platz, const QList<int> &anteile, const QList<int> &bedarf)
{
    const qsizetype n = std::min(anteile.size(), bedarf.size());
    QList<int> breiten(n, 0);
    if (n == 0 || platz <= 0)
        return breiten;

    QList<int> wunsch(n);
    for (qsizetype i = 0; i < n; ++i)
        wunsch[i] = std::max(anteile[i], bedarf[i]);
    const qint64 wunschSumme = std::accumulate(wunsch.begin(), wunsch.end(), qint64(0));
    if (wunschSumme <= platz)
        return wunsch;

    const qint64 bedarfSumme = std::accumulate(bedarf.begin(), bedarf.begin() + n, qint64(0));
    if (bedarfSumme <= platz) {
        const qint64 rest = platz - bedarfSumme;
        const qint64 mehr = wunschSumme - bedarfSumme;
        for (qsizetype i = 0; i < n; ++i)
            breiten[i] = bedarf[i] + static_cast<int>(rest * (wunsch[i] - bedarf[i]) / mehr);
        return breiten;
    }

    // Shortest needs first; each gets its need or an equal share of what is
    // left, whichever is less.
    QList<qsizetype> folge(n);
    std::iota(folge.begin(), folge.end(), 0);
    std::stable_sort(folge.begin(), folge.end(), [&](qsizetype a, qsizetype b) { return bedarf[a] < bedarf[b]; });
    qint64 frei = platz;
    for (qsizetype k = 0; k < n; ++k) {
        const qsizetype i = folge[k];
        const qint64 teil = frei / (n - k);
        breiten[i] = static_cast<int>(std::clamp<qint64>(bedarf[i], 0, teil));
        frei -= breiten[i];
    }
    return breiten;
}
