#include "XvfbServer.h"

#include <QDeadlineTimer>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

XvfbServer::XvfbServer()
{
    const QString programm = QStandardPaths::findExecutable(u"Xvfb"_s);
    if (programm.isEmpty()) {
        m_grund = u"Xvfb is not installed; X11 tests skipped"_s;
        return;
    }
    // The server picks a free display number and writes it to standard
    // output once it accepts connections.
    m_prozess.start(programm, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x1024x24"_s, u"-nolisten"_s,
                               u"tcp"_s, u"-noreset"_s});
    QByteArray ausgabe;
    const QDeadlineTimer frist(15000);
    while (!ausgabe.contains('\n') && !frist.hasExpired() && m_prozess.state() != QProcess::NotRunning) {
        m_prozess.waitForReadyRead(100);
        ausgabe += m_prozess.readAllStandardOutput();
    }
    bool zahl = false;
    const int nummer = ausgabe.trimmed().toInt(&zahl);
    if (!zahl) {
        m_grund = u"Xvfb did not start: "_s + QString::fromLocal8Bit(m_prozess.readAllStandardError().left(300));
        m_prozess.kill();
        m_prozess.waitForFinished(3000);
        return;
    }
    m_anzeige = u":"_s + QString::number(nummer);
    m_hatteVorher = qEnvironmentVariableIsSet("DISPLAY");
    m_vorher = qgetenv("DISPLAY");
    qputenv("DISPLAY", m_anzeige.toLocal8Bit());
}

XvfbServer::~XvfbServer()
{
    if (m_prozess.state() != QProcess::NotRunning) {
        m_prozess.terminate();
        if (!m_prozess.waitForFinished(5000)) {
            m_prozess.kill();
            m_prozess.waitForFinished(3000);
        }
    }
    if (laeuft()) {
        if (m_hatteVorher)
            qputenv("DISPLAY", m_vorher);
        else
            qunsetenv("DISPLAY");
    }
}
