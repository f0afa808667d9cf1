#include "platform/actole/WineBruecke.h"

#include "platform/actole/DiagnoseWine.h"

#include <QDeadlineTimer>
#include <QProcess>

using namespace Qt::StringLiterals;

WineBruecke::WineBruecke(QString programm, QStringList argumente, QProcessEnvironment umgebung, QObject *parent)
    : QObject(parent)
    , m_programm(std::move(programm))
    , m_argumente(std::move(argumente))
    , m_umgebung(std::move(umgebung))
{
}

WineBruecke::~WineBruecke()
{
    beende();
}

QString WineBruecke::maskiere(const QString &feld)
{
    QString text;
    text.reserve(feld.size());
    for (const QChar c : feld) {
        if (c == u'\\')
            text += u"\\\\"_s;
        else if (c == u'\t')
            text += u"\\t"_s;
        else if (c == u'\n')
            text += u"\\n"_s;
        else if (c == u'\r')
            text += u"\\r"_s;
        else
            text += c;
    }
    return text;
}

QStringList WineBruecke::zerlege(const QByteArray &zeile)
{
    QStringList felder;
    QByteArray feld;
    for (qsizetype i = 0; i < zeile.size(); ++i) {
        const char c = zeile[i];
        if (c == '\t') {
            felder << QString::fromUtf8(feld);
            feld.clear();
        } else if (c == '\\' && i + 1 < zeile.size()) {
            const char n = zeile[++i];
            feld += n == 't' ? '\t' : n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else if (c != '\r' && c != '\n') {
            feld += c;
        }
    }
    felder << QString::fromUtf8(feld);
    return felder;
}

void WineBruecke::setWartezeiten(int startMs, int antwortMs)
{
    m_startMs = startMs;
    m_antwortMs = antwortMs;
}

bool WineBruecke::laeuft() const
{
    return m_prozess && m_prozess->state() == QProcess::Running;
}

qint64 WineBruecke::prozess() const
{
    return laeuft() ? m_prozess->processId() : 0;
}

void WineBruecke::zuruecksetzen()
{
    m_aufgegeben = false;
}

void WineBruecke::beende()
{
    if (!m_prozess)
        return;
    if (m_prozess->state() == QProcess::Running) {
        m_prozess->write("ENDE\n");
        m_prozess->closeWriteChannel();
        if (!m_prozess->waitForFinished(2000)) {
            m_prozess->kill();
            m_prozess->waitForFinished(2000);
        }
    }
    m_prozess.reset();
}

std::optional<QByteArray> WineBruecke::zeile(int wartezeitMs)
{
    const QDeadlineTimer ende(wartezeitMs);
    while (!m_prozess->canReadLine()) {
        if (m_prozess->state() != QProcess::Running || ende.hasExpired())
            return std::nullopt;
        m_prozess->waitForReadyRead(int(std::max<qint64>(1, ende.remainingTime())));
    }
    return m_prozess->readLine();
}

bool WineBruecke::starte()
{
    beende();
    m_prozess = std::make_unique<QProcess>();
    m_prozess->setProcessEnvironment(m_umgebung);
    // Wine's own remarks would fill the pipe nobody reads.
    m_prozess->setStandardErrorFile(QProcess::nullDevice());
    m_prozess->start(m_programm, m_argumente);
    if (!m_prozess->waitForStarted(m_startMs)) {
        qCWarning(lcWine) << "Brücke startet nicht:" << m_programm << m_argumente << m_prozess->errorString();
        return false;
    }
    const auto bereit = zeile(m_startMs);
    if (!bereit || !bereit->startsWith("BEREIT")) {
        qCWarning(lcWine) << "Brücke meldet sich nicht:" << m_programm << m_argumente;
        return false;
    }
    qCDebug(lcWine) << "Brücke läuft, Prozess" << m_prozess->processId();
    return true;
}

std::optional<WineBruecke::Antwort> WineBruecke::einmal(const QStringList &anfrage)
{
    if (!laeuft() && !starte())
        return std::nullopt;
    QStringList felder;
    for (const QString &feld : anfrage)
        felder << maskiere(feld);
    m_prozess->write(felder.join(u'\t').toUtf8() + '\n');
    const auto z = zeile(m_antwortMs);
    if (!z) {
        qCWarning(lcWine) << "Brücke antwortet nicht auf" << anfrage.value(0);
        return std::nullopt;
    }
    const QStringList antwort = zerlege(*z);
    Antwort a;
    a.ok = antwort.value(0) == u"OK"_s;
    if (a.ok) {
        a.werte = antwort.mid(1);
    } else {
        a.fehlernummer = antwort.value(1).toLong();
        a.beschreibung = antwort.value(2);
    }
    return a;
}

std::optional<WineBruecke::Antwort> WineBruecke::frage(const QStringList &anfrage)
{
    if (m_aufgegeben)
        return std::nullopt;
    if (auto a = einmal(anfrage))
        return a;
    // Once more with a fresh bridge; the request is asked again.
    qCWarning(lcWine) << "Brücke wird neu gestartet";
    beende();
    if (auto a = einmal(anfrage))
        return a;
    beende();
    m_aufgegeben = true;
    emit Ausgefallen(u"Die Verbindung zu ACT! unter Wine ist ausgefallen."_s + u"\r\n"_s
                     + u"Das Hilfsprogramm rufmon-bruecke.exe wurde neu gestartet und antwortet wieder nicht."_s);
    return std::nullopt;
}
