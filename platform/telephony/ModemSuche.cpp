#include "platform/telephony/ModemSuche.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

QList<ModemSuche::Schnittstelle> ModemSuche::schnittstellen(const QString &ordner)
{
    QList<Schnittstelle> liste;
    const QDir dir(ordner);
    const QFileInfoList eintraege = dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &eintrag : eintraege) {
        if (liste.size() >= MaxSchnittstellen)
            break;
        // A link that points nowhere is a modem that was unplugged.
        const QString geraet = eintrag.canonicalFilePath();
        if (geraet.isEmpty())
            continue;
        liste.append({anzeigename(eintrag.fileName()), eintrag.filePath(), geraet});
    }
    return liste;
}

QString ModemSuche::anzeigename(const QString &eintrag)
{
    QString name = eintrag;
    static const QRegularExpression bus(u"^(usb|pci|platform)-"_s);
    static const QRegularExpression schnittstelle(u"-if[0-9A-Fa-f]+(-port[0-9]+)?$"_s);
    name.remove(bus);
    name.remove(schnittstelle);
    name.replace(u'_', u' ');
    return name.simplified();
}
