#include "RecordingTeilsysteme.h"

RecordingTeilsysteme::RecordingTeilsysteme(QStringList *journal)
    : m_journal(journal)
{
}

void RecordingTeilsysteme::TelefondatenOeffnen(const QString &pfad, ListView &lvNummern)
{
    telefondatenPfad = pfad;
    log(QStringLiteral("TelefondatenOeffnen"));
    if (beimOeffnen)
        beimOeffnen(lvNummern);
}

void RecordingTeilsysteme::log(const QString &step)
{
    calls.append(step);
    if (m_journal)
        m_journal->append(step);
}
