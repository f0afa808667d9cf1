#include "Schreibschutz.h"

#include <QDir>
#include <QFile>

#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr QFile::Permissions Alle = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                    | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther
                                    | QFile::ExeOther;
constexpr QFile::Permissions Lesen = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                     | QFile::ReadOther | QFile::ExeOther;

} // namespace

Schreibschutz::Schreibschutz()
{
    const QDir d(m_dir.path());
    m_bereit = m_dir.isValid() && QFile::setPermissions(m_dir.path(), Lesen | QFile::WriteOwner)
               && d.mkdir(u"offen"_s) && d.mkdir(u"geschuetzt"_s)
               && QFile::setPermissions(offenerOrdner(), Alle) && QFile::setPermissions(geschuetzterOrdner(), Lesen);
}

Schreibschutz::~Schreibschutz()
{
    // Writable again, so that the folder can go.
    QFile::setPermissions(geschuetzterOrdner(), Alle);
}

QString Schreibschutz::offenerOrdner() const
{
    return m_dir.filePath(u"offen"_s);
}

QString Schreibschutz::geschuetzterOrdner() const
{
    return m_dir.filePath(u"geschuetzt"_s);
}

QString Schreibschutz::geschuetzteDatei(const QByteArray &inhalt)
{
    const QString pfad = offenerOrdner() + u"/Anrufe.csv"_s;
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly) || datei.write(inhalt) != inhalt.size())
        return {};
    datei.close();
    QFile::setPermissions(pfad, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    return pfad;
}

void Schreibschutz::alsNutzer(const std::function<void()> &schritt)
{
    const passwd *niemand = geteuid() == 0 ? getpwnam("nobody") : nullptr;
    // Real and effective ids both (access() asks the real one); root stays
    // the saved one, so that the way back is open.
    const bool gewechselt = niemand && setresgid(niemand->pw_gid, niemand->pw_gid, 0) == 0
                            && setresuid(niemand->pw_uid, niemand->pw_uid, 0) == 0;
    schritt();
    if (niemand && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0))
        qFatal("Schreibschutz: zurück zu root nicht möglich");
    if (niemand && !gewechselt)
        qWarning("Schreibschutz: als nobody nicht möglich, der Schritt lief als root");
}
