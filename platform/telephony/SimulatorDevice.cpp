#include "platform/telephony/SimulatorDevice.h"

#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

constexpr int Klingeltoene = 3;

} // namespace

QString SimulatorDevice::Name()
{
    return u"Rufmon-Simulator"_s;
}

SimulatorDevice::SimulatorDevice(QObject *parent)
    : LineDevice(parent)
{
}

void SimulatorDevice::setTakt(int klingelnMs, int aufgelegtMs)
{
    m_klingelnMs = klingelnMs;
    m_aufgelegtMs = aufgelegtMs;
}

QString SimulatorDevice::name() const
{
    return Name();
}

QStringList SimulatorDevice::addresses() const
{
    return {u"Simulierte Leitung"_s};
}

void SimulatorDevice::openLine()
{
    m_offen = true;
}

void SimulatorDevice::closeLine()
{
    m_offen = false;
    ++m_generation;
}

void SimulatorDevice::spaeter(int ms, std::function<void()> schritt)
{
    const int generation = m_generation;
    QTimer::singleShot(ms, this, [this, generation, schritt = std::move(schritt)] {
        if (m_offen && generation == m_generation)
            schritt();
    });
}

bool SimulatorDevice::anruf(const QString &nummer, const QString &name)
{
    if (!m_offen) {
        emit Diagnose(u"Simulator: die Leitung ist nicht geöffnet, der Anruf von \"%1\" wird verworfen."_s.arg(nummer));
        return false;
    }
    const std::int32_t id = m_naechsteId++;
    const Anrufkennung anruf{id, id};
    emit AnrufKommt(anruf);
    emit Klingelt(1);
    // Without a number the line still says why: none there to show.
    emit AnruferBekannt(anruf, nummer, name,
                        nummer.isEmpty() ? Rufnummernanzeige::NichtVerfuegbar : Rufnummernanzeige::Nummer);
    for (int ring = 2; ring <= Klingeltoene; ++ring)
        spaeter(m_klingelnMs * (ring - 1), [this, ring] { emit Klingelt(ring); });
    spaeter(m_aufgelegtMs, [this, anruf] { emit Beendet(anruf, Anrufende::Aufgelegt); });
    return true;
}

bool SimulatorDevice::verbunden(const QString &nummer)
{
    if (!m_offen) {
        emit Diagnose(u"Simulator: die Leitung ist nicht geöffnet, die Nummer \"%1\" wird verworfen."_s.arg(nummer));
        return false;
    }
    const std::int32_t id = m_naechsteId++;
    const Anrufkennung anruf{id, id};
    emit Abgenommen(anruf);
    emit VerbundenMit(anruf, nummer);
    spaeter(m_aufgelegtMs, [this, anruf] { emit Beendet(anruf, Anrufende::Aufgelegt); });
    return true;
}

void SimulatorDevice::dial(const QString &number, int)
{
    m_gewaehlt.append(number);
    if (!m_offen) {
        emit OnError(u"Der Simulator ist nicht aktiviert; gewählt wird nicht."_s, name(), 0);
        return;
    }
    const std::int32_t id = m_naechsteId++;
    const Anrufkennung anruf{id, id};
    emit Waehlt(anruf, true);
    spaeter(m_klingelnMs / 2, [this, anruf, number] {
        emit Rufaufbau(anruf);
        emit AngerufeneNummer(anruf, number);
    });
    spaeter(m_klingelnMs, [this, anruf] { emit Abgenommen(anruf); });
    spaeter(m_aufgelegtMs, [this, anruf] { emit Beendet(anruf, Anrufende::Aufgelegt); });
}

LineDevice::Faehigkeiten SimulatorDevice::faehigkeiten() const
{
    Faehigkeiten f;
    f.providerInfo = u"Rufmon-Simulator (eingebaut)"_s;
    f.switchInfo = u"rufmon --anruf"_s;
    f.mediaModes = u"<INTERACTIVEVOICE>"_s;
    f.addressModes = u"<ADDRESSID>"_s;
    f.dialtoneModes = u"<NORMAL>"_s;
    f.disconnectModes = u"<NORMAL>"_s;
    f.bearerModes = u"<VOICE>"_s;
    f.callStates = u"<OFFERING><CONNECTED><DIALTONE><PROCEEDING><DISCONNECTED><IDLE>"_s;
    f.callInfoStates = u"<CALLERID><CALLEDID><CONNECTEDID>"_s;
    f.callFeatures = u"<DIAL>"_s;
    return f;
}

std::vector<std::unique_ptr<LineDevice>> SimulatorDevice::ausEinstellungen(const Geraeteumgebung &)
{
    std::vector<std::unique_ptr<LineDevice>> devices;
    devices.push_back(std::make_unique<SimulatorDevice>());
    return devices;
}
