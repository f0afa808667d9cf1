#include "Fremdprogramm.h"

#include "TestPaths.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

using namespace Qt::StringLiterals;

bool Fremdprogramm::starte(const QStringList &argumente)
{
    m_prozess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_prozess.start(QString::fromUtf8(RUFMON_FREMDFENSTER), argumente);
    if (!m_prozess.waitForStarted(5000))
        return false;
    const QDeadlineTimer frist(10000);
    while (!frist.hasExpired()) {
        lies();
        const qsizetype bereit = m_zeilen.indexOf(u"BEREIT"_s);
        if (bereit >= 0) {
            for (const QString &z : m_zeilen.mid(0, bereit)) {
                const QStringList teile = z.split(u' ');
                if (teile.size() == 3 && teile[0] == u"ID"_s)
                    m_ids.insert(teile[1], teile[2].toULongLong(nullptr, 16));
            }
            m_zeilen = m_zeilen.mid(bereit + 1);
            return true;
        }
        if (m_prozess.state() == QProcess::NotRunning)
            return false;
        m_prozess.waitForReadyRead(50);
    }
    return false;
}

Fremdprogramm::~Fremdprogramm()
{
    m_prozess.kill();
    m_prozess.waitForFinished(3000);
}

void Fremdprogramm::lies()
{
    m_rest += m_prozess.readAllStandardOutput();
    qsizetype ende = 0;
    while ((ende = m_rest.indexOf('\n')) >= 0) {
        m_zeilen << QString::fromUtf8(m_rest.left(ende));
        m_rest.remove(0, ende + 1);
    }
}

QStringList Fremdprogramm::zeilen()
{
    m_prozess.waitForReadyRead(0);
    lies();
    return m_zeilen;
}

bool Fremdprogramm::warteAuf(const QString &zeile, int ms)
{
    const QDeadlineTimer frist(ms);
    for (;;) {
        lies();
        if (m_zeilen.contains(zeile))
            return true;
        if (frist.hasExpired() || m_prozess.state() == QProcess::NotRunning)
            return false;
        m_prozess.waitForReadyRead(20);
        QCoreApplication::processEvents();
    }
}

QString Fremdprogramm::tasten(const QString &name)
{
    const QString anfang = u"TASTE "_s + name + u' ';
    QString ergebnis;
    for (const QString &z : zeilen()) {
        if (z.startsWith(anfang))
            ergebnis += z.mid(anfang.size());
    }
    return ergebnis;
}
