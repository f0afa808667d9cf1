#pragma once

#include <QHash>
#include <QStringView>

// How many texts of a sample hold each trigram: which trigrams of a
// searched text a trigram lookup had better use. A trigram that many rows
// share makes the lookup read a long list and narrows it hardly at all.
class Trigrammzahlen
{
public:
    // Counts each trigram of the text once, however often it comes in it.
    void zaehlen(QStringView text);
    // In how many of the counted texts the trigram was found.
    int anzahl(QStringView trigramm) const;
    int texte() const { return m_texte; }

private:
    // Three UTF-16 units side by side in one number: no text is made per trigram.
    static quint64 schluessel(QStringView trigramm);

    QHash<quint64, int> m_anzahl;
    int m_texte = 0;
};
