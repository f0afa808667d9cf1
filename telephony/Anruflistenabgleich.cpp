#include "telephony/Anruflistenabgleich.h"

#include "core/Anruferliste.h"
#include "platform/kennwort/Kennwortspeicher.h"
#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/TelephonyControl.h"
#include "telephony/Auswertungsanzeige.h"
#include "telephony/DiagnoseTelefonie.h"
#include "telephony/Nummernbefehle.h"

#include <QSet>
#include <QTimer>

#include <algorithm>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

QString minute(const QDateTime &zeit)
{
    return zeit.toString(u"yyyyMMddHHmm"_s);
}

} // namespace

Anruflistenabgleich::Anruflistenabgleich(const Teile &teile, QObject *parent)
    : QObject(parent)
    , m_t(teile)
{
    connect(&m_t.tapi, &topTapi::OnLineConnection, this, &Anruflistenabgleich::leitung);
    connect(&m_leser, &Tr064Anrufliste::geladen, this, &Anruflistenabgleich::Abgleichen);
    connect(&m_leser, &Tr064Anrufliste::abgelehnt, this,
            [this] { emit Fehler(u"Der Router hat die Anmeldung abgelehnt"_s); });
    connect(&m_leser, &Tr064Anrufliste::fehler, this, &Anruflistenabgleich::Fehler);
    // The next call of the list when the one before is identified, on the
    // next turn of the event loop: a live call the line held back goes first.
    connect(&m_t.auswertung, &Anrufauswertung::Beendet, this, [this] {
        if (m_abgleich)
            QTimer::singleShot(0, this, &Anruflistenabgleich::nachtragen);
    });
    connect(this, &Anruflistenabgleich::Fehler, this, [](const QString &grund) {
        qCWarning(lcTelefonie).noquote() << u"Anrufliste des Routers nicht gelesen:"_s << grund;
    });
}

QString Anruflistenabgleich::Meldung(int anzahl)
{
    return anzahl == 1 ? u"1 Anruf kam, während Rufmon aus war"_s
                       : u"%1 Anrufe kamen, während Rufmon aus war"_s.arg(anzahl);
}

QList<Anrufauswertung::Nachtrag> Anruflistenabgleich::Nachzutragen(
    const QList<Tr064Anrufliste::Anruf> &liste, const Anruferliste &anruferliste,
    const Nummernaufbereitung::Einstellungen &einstellungen)
{
    QSet<QString> bekannt; // number and minute of every call the list has
    QDateTime neuester;
    for (int i = 0; i < anruferliste.Anzahl(); ++i) {
        const Anruf e = anruferliste.an(i);
        if (!e.zeit.isValid())
            continue;
        bekannt.insert(e.nummer + u'|' + minute(e.zeit));
        if (!neuester.isValid() || e.zeit > neuester)
            neuester = e.zeit;
    }
    // The newest call's minute counts: another caller may have come in it.
    const QString ab = neuester.isValid() ? minute(neuester) : QString();

    QList<Anrufauswertung::Nachtrag> neu;
    for (const Tr064Anrufliste::Anruf &a : liste) {
        using Art = Tr064Anrufliste::Anruf::Art;
        if (a.art != Art::Angenommen && a.art != Art::Verpasst && a.art != Art::Abgewiesen)
            continue;
        if (!ab.isEmpty() && minute(a.zeit) < ab)
            continue;
        const auto gefiltert = Nummernaufbereitung::aufbereiten(a.anrufer, u"<ADDRESS>"_s, einstellungen);
        if (gefiltert.ignoriert || gefiltert.nummer.isEmpty())
            continue;
        const QString schluessel = gefiltert.nummer + u'|' + minute(a.zeit);
        if (bekannt.contains(schluessel))
            continue;
        bekannt.insert(schluessel);
        // A call nobody took has no length, whatever the list writes.
        const bool verpasst = a.art != Art::Angenommen;
        neu.append({a.anrufer, a.angerufen, a.zeit, verpasst, verpasst ? -1 : a.dauer});
    }
    std::stable_sort(neu.begin(), neu.end(),
                     [](const Anrufauswertung::Nachtrag &x, const Anrufauswertung::Nachtrag &y) { return x.zeit < y.zeit; });
    return neu;
}

int Anruflistenabgleich::Abgleichen(const QList<Tr064Anrufliste::Anruf> &liste)
{
    m_offen += Nachzutragen(liste, m_t.anruferliste, m_t.nummern.Einstellungen());
    m_nachgetragen = 0;
    m_abgleich = true;
    const int anzahl = static_cast<int>(m_offen.size());
    nachtragen();
    return anzahl;
}

void Anruflistenabgleich::nachtragen()
{
    // One call at a time; a running identification (a live call goes first)
    // brings us back here when it has ended.
    while (!m_offen.isEmpty()) {
        if (m_t.auswertung.laeuft() || !m_t.auswertung.Nachtragen(m_offen.first()))
            return;
        m_offen.removeFirst();
        ++m_nachgetragen;
    }
    if (m_t.auswertung.laeuft() || !std::exchange(m_abgleich, false))
        return;
    if (m_nachgetragen > 0)
        m_t.anzeige.setMeldung(Meldung(m_nachgetragen));
    emit Abgeglichen(m_nachgetragen);
}

void Anruflistenabgleich::leitung(bool steht, const QString &)
{
    if (steht)
        Lesen();
}

void Anruflistenabgleich::Lesen()
{
    auto *steuerung = qobject_cast<TelephonyControl *>(&m_t.tapi);
    auto *router = steuerung ? qobject_cast<CallMonitorDevice *>(steuerung->Device(steuerung->DeviceIndex())) : nullptr;
    if (!router)
        return;
    const QString benutzer = router->tr064Benutzer();
    if (benutzer.isEmpty() || !router->kennwoerter())
        return;
    // Never a question at start: without a kept password the list is not read.
    const std::optional<QString> kennwort = router->kennwoerter()->lies(CallMonitorDevice::konto(router->host(), benutzer));
    if (!kennwort) {
        emit Fehler(u"Kein Kennwort für %1 am Router %2 im Schlüsselbund"_s.arg(benutzer, router->host()));
        return;
    }
    m_leser.lade(router->host(), router->tr064Port(), benutzer, *kennwort);
}
