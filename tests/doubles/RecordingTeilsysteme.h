#pragma once

#include "app/Teilsysteme.h"
#include "core/Anruferliste.h"

#include <QString>
#include <QStringList>

#include <functional>

// Records which subsystem step the main window called, in order, into a
// journal it may share with other doubles. A step can be given work to do.
class RecordingTeilsysteme : public Teilsysteme
{
public:
    explicit RecordingTeilsysteme(QStringList *journal = nullptr) : m_journal(journal) {}

    Anruferliste &Anrufe() override { return anrufe; }
    void TelefondatenOeffnen(const QString &pfad) override
    {
        telefondatenPfad = pfad;
        log(QStringLiteral("TelefondatenOeffnen"));
        if (beimOeffnen)
            beimOeffnen(anrufe);
    }
    void TelefondatenSchliessen() override { log(QStringLiteral("TelefondatenSchliessen")); }
    void TelefonfelderLaden() override { log(QStringLiteral("TelefonfelderLaden")); }
    void TelefonfelderSchliessen() override { log(QStringLiteral("TelefonfelderSchliessen")); }
    void ACTMonitorInitialisieren() override { log(QStringLiteral("ACTMonitorInitialisieren")); }
    void PruefeACTDatenbank() override { log(QStringLiteral("PruefeACTDatenbank")); }
    void ErstelleNummernCache() override { log(QStringLiteral("ErstelleNummernCache")); }
    void NummernCacheVorbereiten(const QString &pfad) override { log(QStringLiteral("NummernCacheVorbereiten(%1)").arg(pfad)); }
    void NummernCacheEntfernen() override { log(QStringLiteral("NummernCacheEntfernen")); }
    bool ACTBereit() const override { return actBereit; }
    bool AuswertungLaeuft() const override { return auswertungLaeuft; }
    void TelefonieprotokollSchliessen() override { log(QStringLiteral("TelefonieprotokollSchliessen")); }
    clRufmonDaten *Telefondaten() override { return telefondaten; }

    QStringList calls;
    QString telefondatenPfad;
    clRufmonDaten *telefondaten = nullptr;
    bool actBereit = false;
    bool auswertungLaeuft = false;
    // Work for the opening step, on the calls the window shows (fills the caller list).
    std::function<void(Anruferliste &)> beimOeffnen;
    Anruferliste anrufe;

private:
    void log(const QString &step)
    {
        calls.append(step);
        if (m_journal)
            m_journal->append(step);
    }

    QStringList *m_journal;
};
