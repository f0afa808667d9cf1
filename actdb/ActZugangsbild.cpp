#include "actdb/ActZugangsbild.h"

#include <QMutexLocker>
#include <QStringList>

void ActZugangsbild::aufnehmen(const ActZugang &zugang, const QStringList &alleFelder)
{
    QHash<QString, QString> bezeichnungen;
    for (const QString &feld : alleFelder)
        bezeichnungen.insert(feld, zugang.Bezeichnung(feld));
    const bool bereit = zugang.ACTBereit();
    const QString datenbank = zugang.ACTDatenbank();
    const QString felder = zugang.AusgewaehlteFelder();
    const QMutexLocker sperre(&m_mutex);
    m_bereit = bereit;
    m_datenbank = datenbank;
    m_felder = felder;
    m_bezeichnungen = std::move(bezeichnungen);
}

bool ActZugangsbild::ACTBereit() const
{
    const QMutexLocker sperre(&m_mutex);
    return m_bereit;
}

QString ActZugangsbild::ACTDatenbank() const
{
    const QMutexLocker sperre(&m_mutex);
    return m_datenbank;
}

QString ActZugangsbild::AusgewaehlteFelder() const
{
    const QMutexLocker sperre(&m_mutex);
    return m_felder;
}

QString ActZugangsbild::Bezeichnung(const QString &feldname) const
{
    const QMutexLocker sperre(&m_mutex);
    return m_bezeichnungen.value(feldname);
}
