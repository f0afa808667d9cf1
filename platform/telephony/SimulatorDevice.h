#pragma once

#include "platform/telephony/Geraeteart.h"

#include "platform/telephony/LineDevice.h"

#include <QStringList>

#include <functional>

// A line device without a telephone: calls are given to it from outside
// (`rufmon --anruf NUMMER` hands them to the running program), and it reports
// what a real line reports for such a call. Dialing is recorded and answered
// as a line answers it.
class SimulatorDevice : public LineDevice
{
    Q_OBJECT

public:
    static QString Name();

    explicit SimulatorDevice(QObject *parent = nullptr);

    // Always one: the demo's line, last in the list.
    static std::vector<std::unique_ptr<LineDevice>> ausEinstellungen(const Geraeteumgebung &umgebung);

    // Pauses between the events of one call, in milliseconds.
    void setTakt(int klingelnMs, int aufgelegtMs);

    // An incoming call; false when the line is closed (nothing is raised).
    bool anruf(const QString &nummer, const QString &name = {});
    // A connected party's number, as a forwarded call reports it.
    bool verbunden(const QString &nummer);
    const QStringList &gewaehlt() const { return m_gewaehlt; }

    QString name() const override;
    QStringList addresses() const override;
    void openLine() override;
    void closeLine() override;
    bool isOpen() const override { return m_offen; }
    void dial(const QString &number, int address) override;

    Faehigkeiten faehigkeiten() const override;

private:
    // Runs `schritt` after `ms` unless the line was closed meanwhile.
    void spaeter(int ms, std::function<void()> schritt);

    bool m_offen = false;
    int m_generation = 0; // raised on every close, so pending steps of old calls lapse
    std::int32_t m_naechsteId = 1;
    int m_klingelnMs = 1000;
    int m_aufgelegtMs = 4000;
    QStringList m_gewaehlt;
};
