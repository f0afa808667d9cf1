#include "platform/telephony/AmiNachricht.h"

#include "platform/system/Steuerzeichen.h"


using namespace Qt::StringLiterals;

namespace {

QString ohneSteuerzeichen(QStringView text)
{
    return Steuerzeichen::entfernt(text).trimmed();
}

} // namespace

AmiNachricht AmiNachricht::lies(QByteArrayView text)
{
    AmiNachricht nachricht;
    // Bad UTF-8 (a name typed in Latin-1 on the PBX) becomes replacement characters.
    const QString zeilen = QString::fromUtf8(text);
    for (const QStringView zeile : QStringView(zeilen).split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype doppelpunkt = zeile.indexOf(u':');
        if (doppelpunkt <= 0)
            continue;
        const QString name = ohneSteuerzeichen(zeile.first(doppelpunkt));
        if (!name.isEmpty())
            nachricht.m_felder.append({name, ohneSteuerzeichen(zeile.sliced(doppelpunkt + 1))});
    }
    return nachricht;
}

QByteArray AmiNachricht::aktion(const QList<Feld> &felder)
{
    QByteArray text;
    for (const auto &[name, wert] : felder)
        text += ohneSteuerzeichen(name).toUtf8() + ": " + ohneSteuerzeichen(wert).toUtf8() + "\r\n";
    return text + "\r\n";
}

QString AmiNachricht::wert(QStringView name) const
{
    for (const auto &[feld, wert] : m_felder) {
        if (feld.compare(name, Qt::CaseInsensitive) == 0)
            return wert;
    }
    return {};
}

bool AmiNachricht::hat(QStringView name) const
{
    for (const auto &feld : m_felder) {
        if (feld.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool AmiNachricht::istEreignis(QStringView name) const
{
    return wert(u"Event").compare(name, Qt::CaseInsensitive) == 0 && hat(u"Event");
}

bool AmiNachricht::istAntwort() const
{
    return hat(u"Response") && !hat(u"Event");
}
