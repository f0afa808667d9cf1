#include "platform/teamjournal/Teamzugang.h"

#include "platform/settings/SettingsStore.h"

#include <QHostInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

QString Teamzugang::Abschnitt()
{
    return u"Team"_s;
}

bool Teamzugang::setzeAdresse(const QString &adresse)
{
    const QUrl url(adresse.trimmed(), QUrl::StrictMode);
    const QString schema = url.scheme().toLower();
    if (!url.isValid() || (schema != u"postgresql" && schema != u"postgres") || url.host().isEmpty())
        return false;
    QString db = url.path();
    if (db.startsWith(u'/'))
        db.remove(0, 1);
    if (db.isEmpty() || db.contains(u'/'))
        return false;
    const int p = url.port(5432);
    if (p <= 0 || p > 65535)
        return false;
    host = url.host();
    port = static_cast<quint16>(p);
    datenbank = db;
    return true;
}

Teamzugang Teamzugang::aus(const SettingsStore &settings)
{
    Teamzugang z;
    const QString adresse = settings.GetSetting(Abschnitt(), u"Datenbank"_s, QString());
    if (!adresse.trimmed().isEmpty())
        z.setzeAdresse(adresse);
    z.benutzer = settings.GetSetting(Abschnitt(), u"Benutzer"_s, QString()).trimmed();
    z.arbeitsplatz = settings.GetSetting(Abschnitt(), u"Arbeitsplatz"_s, QString()).trimmed();
    if (z.arbeitsplatz.isEmpty())
        z.arbeitsplatz = QHostInfo::localHostName();
    // Only the two that keep the connection encrypted when the server can;
    // anything else is taken as the default.
    const QString tls = settings.GetSetting(Abschnitt(), u"TLS"_s, QString()).trimmed().toLower();
    z.tls = tls == u"require" ? u"require"_s : u"prefer"_s;
    return z;
}

QString Teamzugang::konto() const
{
    return u"Team-Journal %1:%2/%3 %4"_s.arg(host).arg(port).arg(datenbank, benutzer);
}

QString Teamzugang::anzeige() const
{
    return u"%1:%2/%3"_s.arg(host).arg(port).arg(datenbank);
}
