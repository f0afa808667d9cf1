#include "PgCluster.h"

#include "doubles/Begleitprozess.h"
#include "platform/teamjournal/PgVerbindung.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString binOrdner()
{
    const QDir pg(u"/usr/lib/postgresql"_s);
    QStringList versionen = pg.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    std::sort(versionen.begin(), versionen.end(), [](const QString &a, const QString &b) { return a.toInt() > b.toInt(); });
    for (const QString &v : versionen) {
        const QString bin = pg.filePath(v + u"/bin"_s);
        if (QFileInfo::exists(bin + u"/initdb"_s) && QFileInfo::exists(bin + u"/pg_ctl"_s))
            return bin;
    }
    return {};
}

bool alsRoot()
{
    return geteuid() == 0;
}

} // namespace

PgCluster::PgCluster() = default;

PgCluster::~PgCluster()
{
    stoppen();
}

QString PgCluster::fehlt()
{
    if (binOrdner().isEmpty())
        return u"PostgreSQL-Server nicht installiert (Debian-Paket postgresql; `make test` installiert es)"_s;
    QProcess id;
    id.start(u"id"_s, {u"-u"_s, u"postgres"_s});
    if (alsRoot() && (!id.waitForFinished() || id.exitCode() != 0))
        return u"Als root ohne den Benutzer postgres lässt sich kein Server starten"_s;
    return {};
}

bool PgCluster::lauf(const QStringList &befehl, QString *fehler)
{
    Begleitprozess p;
    QStringList argumente = befehl;
    QString programm = argumente.takeFirst();
    if (alsRoot()) {
        argumente.prepend(programm);
        argumente = QStringList{u"-u"_s, u"postgres"_s, u"--"_s} + argumente;
        programm = u"runuser"_s;
    }
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programm, argumente);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (fehler)
            *fehler = QString::fromLocal8Bit(p.readAll()).trimmed() + u' ' + p.errorString();
        return false;
    }
    return true;
}

bool PgCluster::starten(QString *fehler)
{
    if (m_laeuft)
        return true;
    const QString bin = binOrdner();
    if (!m_initialisiert) {
        m_ordner = std::make_unique<QTemporaryDir>(QDir::tempPath() + u"/rufmon-pg-XXXXXX"_s);
        if (alsRoot())
            QProcess::execute(u"chown"_s, {u"postgres"_s, m_ordner->path()});
        QTcpServer frei;
        frei.listen(QHostAddress::LocalHost, 0);
        m_port = frei.serverPort();
        frei.close();
        if (!lauf({bin + u"/initdb"_s, u"-D"_s, m_ordner->filePath(u"daten"_s), u"-A"_s, u"trust"_s, u"-U"_s,
                   u"rufmon_admin"_s, u"-E"_s, u"UTF8"_s, u"--locale=C"_s, u"--no-sync"_s},
                  fehler))
            return false;
        m_initialisiert = true;
    }
    QString optionen = u"-p %1 -k %2 -c listen_addresses=127.0.0.1"_s.arg(QString::number(m_port), m_ordner->path());
    if (!m_dauerhaft)
        optionen += u" -c fsync=off -c full_page_writes=off"_s;
    if (!lauf({bin + u"/pg_ctl"_s, u"-D"_s, m_ordner->filePath(u"daten"_s), u"-l"_s,
               m_ordner->filePath(u"server.log"_s), u"-o"_s, optionen, u"-w"_s, u"-t"_s, u"60"_s, u"start"_s},
              fehler))
        return false;
    m_laeuft = true;
    PgVerbindung db;
    Teamzugang z = zugang();
    z.datenbank = u"postgres"_s;
    if (!db.oeffnen(z, 10, fehler))
        return false;
    const auto da = db.ausfuehren("SELECT count(*) FROM pg_database WHERE datname = 'team'");
    if (da.zeilen.value(0).value(0).toInt() == 0) {
        const auto neu = db.ausfuehren("CREATE DATABASE team");
        if (!neu.ok && fehler)
            *fehler = neu.fehler;
        return neu.ok;
    }
    return true;
}

bool PgCluster::stoppen()
{
    if (!m_laeuft)
        return true;
    m_laeuft = false;
    return lauf({binOrdner() + u"/pg_ctl"_s, u"-D"_s, m_ordner->filePath(u"daten"_s), u"-m"_s, u"fast"_s, u"-w"_s,
                 u"stop"_s},
                nullptr);
}

Teamzugang PgCluster::zugang(const QString &benutzer) const
{
    Teamzugang z;
    z.host = u"127.0.0.1"_s;
    z.port = m_port;
    z.datenbank = u"team"_s;
    z.benutzer = benutzer;
    z.arbeitsplatz = u"Empfang"_s;
    return z;
}

bool PgCluster::sql(const QString &statement, QString *fehler)
{
    PgVerbindung db;
    if (!db.oeffnen(zugang(), 10, fehler))
        return false;
    const auto e = db.ausfuehren(statement.toUtf8());
    if (!e.ok && fehler)
        *fehler = e.fehler;
    return e.ok;
}
