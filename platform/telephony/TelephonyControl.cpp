#include "platform/telephony/TelephonyControl.h"

#include "platform/kennwort/SitzungsKennwortspeicher.h"
#include "platform/settings/SettingsStore.h"
#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/LineDevice.h"
#include "platform/telephony/ModemDevice.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelefonanlageDevice.h"
#include "platform/telephony/GeraeteEinstellungen.h"
#include "platform/telephony/Leitungseinrichtung.h"

#include <algorithm>


using namespace Qt::StringLiterals;

TelephonyControl::TelephonyControl(SettingsStore &settings, QObject *parent)
    : topTapi(parent)
    , m_settings(settings)
{
}

TelephonyControl::~TelephonyControl()
{
    for (auto &d : m_devices)
        d->disconnect(this);
}

void TelephonyControl::setDevices(std::vector<LineDevice *> devices)
{
    for (auto &d : m_devices)
        d->disconnect(this);
    m_devices.clear();
    for (LineDevice *d : devices) {
        d->setParent(nullptr);
        m_devices.emplace_back(d);
        verbinde(d);
    }
    m_current = 0;
    m_initialized = true;
}

void TelephonyControl::Initialize()
{
    if (m_initialized)
        return;
    std::vector<LineDevice *> devices;
    for (auto &d : ausEinstellungen())
        devices.push_back(d.release());
    setDevices(std::move(devices));
}

Kennwortspeicher &TelephonyControl::kennwoerter()
{
    if (!m_kennwoerter) {
        m_sitzungsKennwoerter = std::make_unique<SitzungsKennwortspeicher>();
        m_kennwoerter = m_sitzungsKennwoerter.get();
    }
    return *m_kennwoerter;
}

// The kinds of line. The real lines come first, the simulator last: a saved
// device that is gone falls back to the first in the list, and that must be
// a real line whenever one is configured.
constexpr Geraeteart Geraetearten[] = {
    &CallMonitorDevice::ausEinstellungen,
    &TelefonanlageDevice::ausEinstellungen,
    &ModemDevice::ausEinstellungen,
    &SimulatorDevice::ausEinstellungen,
};

std::vector<std::unique_ptr<LineDevice>> TelephonyControl::ausEinstellungen()
{
    const Geraeteumgebung umgebung{m_settings, kennwoerter(), m_dialogs};
    std::vector<std::unique_ptr<LineDevice>> devices;
    for (const Geraeteart art : Geraetearten) {
        for (auto &device : art(umgebung))
            devices.push_back(std::move(device));
    }
    return devices;
}

void TelephonyControl::GeraeteNeuEinlesen()
{
    std::vector<std::unique_ptr<LineDevice>> neu = ausEinstellungen();
    // What stays is the device already there under that name, with its state.
    std::vector<std::unique_ptr<LineDevice>> alt = std::move(m_devices);
    m_devices.clear();
    LineDevice *vorher = alt.empty() || m_current >= std::int32_t(alt.size()) ? nullptr : alt[m_current].get();
    for (auto &d : neu) {
        const auto gleich = std::find_if(alt.begin(), alt.end(), [&](const auto &a) { return a && a->name() == d->name(); });
        if (gleich != alt.end()) {
            m_devices.push_back(std::move(*gleich));
        } else {
            m_devices.push_back(std::move(d));
            verbinde(m_devices.back().get());
        }
    }
    const auto bleibt = std::find_if(m_devices.begin(), m_devices.end(), [&](const auto &d) { return d.get() == vorher; });
    // The line of a removed device closes with it; what it sent is nobody's call any more.
    for (auto &d : alt) {
        if (!d)
            continue;
        d->disconnect(this);
        if (d.get() == vorher && m_open) {
            m_open = false;
            verwerfeWartende();
        }
        std::erase_if(m_wartend, [&](const Ereignis &e) {
            if (e.geraet == d.get())
                m_wartendeAnrufe -= e.anruf ? 1 : 0;
            return e.geraet == d.get();
        });
        if (d->isOpen())
            d->closeLine();
    }
    alt.clear();
    m_initialized = true;
    if (bleibt != m_devices.end()) {
        m_current = static_cast<std::int32_t>(bleibt - m_devices.begin());
        return;
    }
    m_current = 0;
    emit OnDeviceChanged(m_current);
}

void TelephonyControl::verbinde(LineDevice *d)
{
    // Call events of the current device only, and only while its line is open.
    const auto nur = [this, d](auto signal, bool anruf = false) {
        return [this, d, signal, anruf](auto... args) {
            if (d == current() && m_open)
                weitergeben(d, anruf, [this, signal, args...] { emit(this->*signal)(args...); });
        };
    };
    connect(d, &LineDevice::AnrufKommt, this, nur(&topTapi::AnrufKommt));
    connect(d, &LineDevice::AngerufeneNummer, this, nur(&topTapi::AngerufeneNummer));
    connect(d, &LineDevice::AnruferBekannt, this, nur(&topTapi::AnruferBekannt, true));
    connect(d, &LineDevice::Klingelt, this, nur(&topTapi::Klingelt));
    connect(d, &LineDevice::Waehlt, this, nur(&topTapi::Waehlt));
    connect(d, &LineDevice::Rufaufbau, this, nur(&topTapi::Rufaufbau));
    connect(d, &LineDevice::Abgenommen, this, nur(&topTapi::Abgenommen));
    connect(d, &LineDevice::VerbundenMit, this, nur(&topTapi::VerbundenMit));
    connect(d, &LineDevice::Beendet, this, nur(&topTapi::Beendet));
    connect(d, &LineDevice::OnError, this,
            [this, d](const QString &text, const QString &source, std::int32_t number) {
                if (d == current())
                    emit OnError(text, source, number);
            });
    connect(d, &LineDevice::Verbindungszustand, this, [this, d](bool steht, const QString &grund) {
        if (d == current() && m_open)
            emit OnLineConnection(steht, grund);
    });
    connect(d, &LineDevice::Diagnose, this, [this, d](const QString &text) {
        if (d == current())
            emit Diagnose(text);
    });
}

void TelephonyControl::weitergeben(const LineDevice *device, bool anruf, std::function<void()> senden)
{
    if (m_wartend.size() >= HoechstensWartend) {
        if (!std::exchange(m_ueberlaufGemeldet, true))
            emit Diagnose(u"Zu viele Ereignisse auf einmal: weitere werden verworfen."_s);
        return;
    }
    m_wartendeAnrufe += anruf ? 1 : 0;
    m_wartend.push_back({QDateTime::currentDateTime(), device, anruf, std::move(senden)});
    // The simulator's events come from the program itself, not from a socket
    // read: handled at once, after those that wait, when nothing else is.
    if (m_eventsEnabled && m_ausgabe == 0 && qobject_cast<const SimulatorDevice *>(device))
        liefere();
    else
        planeLieferung();
}

void TelephonyControl::sende(Ereignis &ereignis)
{
    const QDateTime vorher = std::exchange(m_ereigniszeit, ereignis.zeit);
    ++m_ausgabe;
    ereignis.senden();
    --m_ausgabe;
    m_ereigniszeit = vorher;
}

void TelephonyControl::planeLieferung()
{
    if (std::exchange(m_lieferungGeplant, true))
        return;
    QMetaObject::invokeMethod(this, &TelephonyControl::liefere, Qt::QueuedConnection);
}

void TelephonyControl::liefere()
{
    m_lieferungGeplant = false;
    // Inside the handling of an event (a window breathing mid-call) the next
    // waits: the one being handled goes on from here when it returns.
    if (m_ausgabe > 0)
        return;
    while (!m_wartend.empty() && m_eventsEnabled && m_ausgabe == 0) {
        Ereignis e = std::move(m_wartend.front());
        m_wartend.pop_front();
        m_wartendeAnrufe -= e.anruf ? 1 : 0;
        if (e.geraet == current() && m_open)
            sende(e);
    }
    if (m_wartend.empty())
        m_ueberlaufGemeldet = false;
}

void TelephonyControl::verwerfeWartende()
{
    m_wartend.clear();
    m_wartendeAnrufe = 0;
    m_ueberlaufGemeldet = false;
}

QDateTime TelephonyControl::Ereigniszeit() const
{
    return m_ausgabe > 0 ? m_ereigniszeit : QDateTime::currentDateTime();
}

LineDevice *TelephonyControl::current() const
{
    return Device(m_current);
}

LineDevice *TelephonyControl::Device(std::int32_t device) const
{
    return device >= 0 && device < DeviceCount() ? m_devices[device].get() : nullptr;
}

SimulatorDevice *TelephonyControl::Simulator() const
{
    for (const auto &d : m_devices) {
        if (auto *s = qobject_cast<SimulatorDevice *>(d.get()))
            return s;
    }
    return nullptr;
}

std::int32_t TelephonyControl::DeviceCount() const
{
    return static_cast<std::int32_t>(m_devices.size());
}

QString TelephonyControl::DeviceName(std::int32_t device) const
{
    const LineDevice *d = Device(device);
    return d ? d->name() : QString();
}

std::int32_t TelephonyControl::DeviceIndex() const
{
    return m_current;
}

void TelephonyControl::setDeviceIndex(std::int32_t device)
{
    if (!Device(device))
        return;
    // The open line stays with the device it was opened on.
    if (m_open && device != m_current)
        CloseLine();
    m_current = device;
    emit OnDeviceChanged(device);
}

QString TelephonyControl::CurrentDeviceName() const
{
    return DeviceName(m_current);
}

QString TelephonyControl::AddressName(std::int32_t device, std::int32_t address) const
{
    const LineDevice *d = Device(device);
    return d ? d->addresses().value(address) : QString();
}

bool TelephonyControl::OpenLine()
{
    LineDevice *d = current();
    if (!d) {
        emit OnError(u"Kein Telefoniegerät vorhanden."_s, u"TelephonyControl"_s, 0);
        return false;
    }
    m_open = true;
    d->openLine();
    // A device that refused at once reports it as its error; the line is not open then.
    if (!d->isOpen())
        m_open = false;
    return m_open;
}

bool TelephonyControl::LineConnected() const
{
    const LineDevice *d = current();
    return m_open && d && d->verbunden();
}

void TelephonyControl::CloseLine()
{
    if (LineDevice *d = current())
        d->closeLine();
    m_open = false;
    // What the closed line sent before is no call of the line opened next.
    verwerfeWartende();
}

void TelephonyControl::ReleaseLine()
{
    if (m_open)
        CloseLine();
}

void TelephonyControl::Shutdown()
{
    for (auto &d : m_devices) {
        if (d->isOpen())
            d->closeLine();
    }
    m_open = false;
    verwerfeWartende();
}

void TelephonyControl::setEventsEnabled(bool enabled)
{
    m_eventsEnabled = enabled;
    if (enabled && !m_wartend.empty())
        planeLieferung();
}

void TelephonyControl::ConfigDialog()
{
    LineDevice *d = current();
    if (d && m_einstellungen)
        m_einstellungen->Einstellen(*d);
}

std::int32_t TelephonyControl::LeitungHinzufuegen()
{
    if (!m_einstellungen)
        return -1;
    const QString name = m_einstellungen->Hinzufuegen(m_settings, kennwoerter());
    if (name.isEmpty())
        return -1;
    GeraeteNeuEinlesen();
    for (std::int32_t i = 0; i < DeviceCount(); ++i) {
        if (DeviceName(i) == name)
            return i;
    }
    return -1;
}

bool TelephonyControl::LeitungEntfernen(std::int32_t device)
{
    const LineDevice *d = Device(device);
    if (!d || !Leitungseinrichtung(m_settings, &kennwoerter()).entfernen(*d))
        return false;
    GeraeteNeuEinlesen();
    return true;
}

QString TelephonyControl::NichtEntfernbar(std::int32_t device) const
{
    const LineDevice *d = Device(device);
    return d ? Leitungseinrichtung(m_settings, m_kennwoerter).nichtEntfernbar(*d) : QString();
}

bool TelephonyControl::LeitungEingerichtet() const
{
    return std::any_of(m_devices.cbegin(), m_devices.cend(),
                       [](const auto &d) { return !qobject_cast<const SimulatorDevice *>(d.get()); });
}

void TelephonyControl::TranslateDialog(std::int32_t)
{
    if (m_einstellungen)
        m_einstellungen->Waehlregeln(m_settings);
}

void TelephonyControl::Dial(const QString &number, std::int16_t address)
{
    LineDevice *d = current();
    if (!d) {
        emit OnError(u"Kein Telefoniegerät vorhanden."_s, u"TelephonyControl"_s, 0);
        return;
    }
    d->dial(number, address);
}

LineDevice::Faehigkeiten TelephonyControl::Faehigkeiten(std::int32_t device) const
{
    if (const LineDevice *d = Device(device))
        return d->faehigkeiten();
    LineDevice::Faehigkeiten keine;
    keine.apiVersion = 0;
    return keine;
}

QString TelephonyControl::Version() const
{
    return u"Rufmon-Telefonie "_s + QStringLiteral(RUFMON_VERSION_TEXT);
}
