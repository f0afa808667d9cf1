#include "platform/benachrichtigung/DBusBenachrichtigungen.h"

#include "platform/benachrichtigung/DiagnoseDesktop.h"
#include "platform/benachrichtigung/Programmsymbol.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QUrl>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace {

const QString Schnittstelle = u"org.freedesktop.Notifications"_s;
// A server that does not answer in this time is taken as none.
constexpr int Wartezeit = 5000;

} // namespace

DBusBenachrichtigungen::DBusBenachrichtigungen(const QDBusConnection &bus, const QString &bild, QObject *parent)
    : Benachrichtigungen(parent)
    , m_bus(bus)
    , m_bild(bild)
{
    if (!m_bus.isConnected())
        return;
    m_bus.connect(Dienst(), Pfad(), Schnittstelle, u"ActionInvoked"_s, this, SLOT(aktion(uint, QString)));
    m_bus.connect(Dienst(), Pfad(), Schnittstelle, u"NotificationClosed"_s, this, SLOT(geschlossen(uint, uint)));
}

QString DBusBenachrichtigungen::Dienst()
{
    return u"org.freedesktop.Notifications"_s;
}

QString DBusBenachrichtigungen::Pfad()
{
    return u"/org/freedesktop/Notifications"_s;
}

QString DBusBenachrichtigungen::Symbol()
{
    return Programmsymbol::Name();
}

QVariantMap DBusBenachrichtigungen::Hinweise() const
{
    // The desktop groups the notifications under the program's menu entry.
    QVariantMap hinweise{{u"desktop-entry"_s, QStringLiteral(RUFMON_DESKTOP_ID)}};
    if (!m_bild.isEmpty())
        hinweise.insert(u"image-path"_s, QUrl::fromLocalFile(m_bild).toString(QUrl::FullyEncoded));
    return hinweise;
}

void DBusBenachrichtigungen::zeige(quint64 auftrag, const Meldung &meldung, uint ersetzt)
{
    if (!m_bus.isConnected())
        return;
    if (m_bekannt) {
        sende({auftrag, meldung, ersetzt});
        return;
    }
    m_wartend.append({auftrag, meldung, ersetzt});
    frageFaehigkeiten();
}

void DBusBenachrichtigungen::frageFaehigkeiten()
{
    if (m_gefragt)
        return;
    m_gefragt = true;
    const QDBusMessage frage = QDBusMessage::createMethodCall(Dienst(), Pfad(), Schnittstelle, u"GetCapabilities"_s);
    auto *waechter = new QDBusPendingCallWatcher(m_bus.asyncCall(frage, Wartezeit), this);
    connect(waechter, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        m_gefragt = false;
        const QDBusPendingReply<QStringList> antwort = *w;
        const QList<Auftrag> wartend = std::exchange(m_wartend, {});
        if (antwort.isError()) {
            // No server (yet): these notifications are dropped, the next one asks again.
            qCDebug(lcDesktop).noquote() << u"Kein Benachrichtigungsdienst:"_s << antwort.error().message();
            return;
        }
        m_bekannt = true;
        m_aktionen = antwort.value().contains(u"actions"_s);
        m_markup = antwort.value().contains(u"body-markup"_s);
        for (const Auftrag &a : wartend)
            sende(a);
    });
}

void DBusBenachrichtigungen::sende(const Auftrag &auftrag)
{
    QStringList aktionen;
    if (m_aktionen) {
        for (const auto &[schluessel, text] : auftrag.meldung.aktionen)
            aktionen << schluessel << text;
    }
    // Names and companies come from the contact data: with a server that
    // reads markup, a "<" or "&" in them must stay text.
    const QString text = m_markup ? auftrag.meldung.text.toHtmlEscaped() : auftrag.meldung.text;
    QDBusMessage nachricht = QDBusMessage::createMethodCall(Dienst(), Pfad(), Schnittstelle, u"Notify"_s);
    nachricht << u"Rufmon"_s << auftrag.ersetzt << Symbol() << auftrag.meldung.titel
              << text << aktionen << Hinweise() << -1;
    auto *waechter = new QDBusPendingCallWatcher(m_bus.asyncCall(nachricht, Wartezeit), this);
    const quint64 nummer = auftrag.nummer;
    connect(waechter, &QDBusPendingCallWatcher::finished, this, [this, nummer](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<uint> antwort = *w;
        if (antwort.isError()) {
            qCWarning(lcDesktop).noquote() << u"Benachrichtigung nicht gezeigt:"_s << antwort.error().message();
            // The server may have gone; the next notification asks again.
            m_bekannt = false;
            return;
        }
        emit Gezeigt(nummer, antwort.value());
    });
}

void DBusBenachrichtigungen::aktion(uint id, const QString &schluessel)
{
    emit AktionGewaehlt(id, schluessel);
}

void DBusBenachrichtigungen::geschlossen(uint id, uint)
{
    emit Geschlossen(id);
}
