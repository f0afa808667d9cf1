#include "team/Teamjournal.h"

#include "core/Anruf.h"

#include "platform/teamjournal/Journalschreiber.h"
#include "team/Teamausgang.h"

#include <QUuid>

using namespace Qt::StringLiterals;

Teamjournal::Teamjournal(const Teamzugang &zugang, QObject *parent)
    : QObject(parent)
    , m_zugang(zugang)
    , m_zustand(u"Team-Journal %1: wird verbunden"_s.arg(zugang.anzeige()))
{
    qRegisterMetaType<Journalzeile>();
    qRegisterMetaType<QList<Journalzeile>>();
    qRegisterMetaType<Teamzugang>();
    m_thread.setObjectName(u"Team-Journal"_s);
    m_schreiber = new Journalschreiber;
    m_schreiber->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_schreiber, &QObject::deleteLater);
    connect(m_schreiber, &Journalschreiber::geschrieben, this, &Teamjournal::geschrieben);
    connect(m_schreiber, &Journalschreiber::zustand, this, &Teamjournal::zustand);
    m_thread.start();
    QMetaObject::invokeMethod(m_schreiber, [s = m_schreiber, zugang] { s->setZugang(zugang); });
}

Teamjournal::~Teamjournal()
{
    // What waits goes at the next start; the program does not wait for the server.
    m_schreiber->abbrechen();
    QMetaObject::invokeMethod(m_schreiber, [s = m_schreiber] { s->beenden(); });
    m_thread.quit();
    m_thread.wait();
}

void Teamjournal::setWiederholungMs(int ms)
{
    QMetaObject::invokeMethod(m_schreiber, [s = m_schreiber, ms] { s->setWiederholungMs(ms); });
}

void Teamjournal::setAusgang(std::shared_ptr<Database> db)
{
    m_ausgang = std::make_unique<Teamausgang>(std::move(db));
    const QList<Journalzeile> wartend = m_ausgang->alle();
    if (!wartend.isEmpty())
        senden(wartend);
}

int Teamjournal::Wartend() const
{
    return m_ausgang ? m_ausgang->Anzahl() : 0;
}

Journalzeile Teamjournal::Zeile(const ::Anruf &anruf, const QString &arbeitsplatz, const QString &leitung)
{
    Journalzeile z;
    z.anrufId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    z.zeit = anruf.zeit.isValid() ? anruf.zeit : QDateTime::currentDateTime();
    z.arbeitsplatz = arbeitsplatz;
    z.leitung = leitung;
    z.nummer = anruf.nummer;
    z.angerufen = anruf.angerufen;
    z.ort = anruf.ort;
    z.kontaktName = anruf.name;
    z.firma = anruf.firma;
    z.erkannt = anruf.erkannt();
    if (z.erkannt)
        z.kontaktId = anruf.kontaktId.trimmed();
    z.nachgetragen = anruf.nachgetragen;
    if (anruf.nachgetragen)
        z.angenommen = !anruf.verpasst;
    z.dauer = anruf.dauer;
    return z;
}

void Teamjournal::Eintragen(const ::Anruf &anruf, const QString &leitung)
{
    const Journalzeile z = Zeile(anruf, m_zugang.arbeitsplatz, leitung);
    // A connected number of a call already journalled is the same call.
    if (anruf.verbunden && m_laufend.contains(anruf.callId))
        return;
    // A line that never says idle must not collect calls without end.
    if (m_laufend.size() > 64)
        m_laufend.clear();
    if (!anruf.nachgetragen)
        m_laufend.insert(anruf.callId, {z, {}});
    senden({z});
}

void Teamjournal::Abgenommen(Anrufkennung anruf)
{
    const auto it = m_laufend.find(anruf.id);
    if (it != m_laufend.end() && !it->verbunden.isValid())
        it->verbunden = QDateTime::currentDateTime();
}

void Teamjournal::Beendet(Anrufkennung anruf)
{
    const auto it = m_laufend.find(anruf.id);
    if (it == m_laufend.end())
        return;
    Journalzeile z = it->zeile;
    z.angenommen = it->verbunden.isValid();
    // A call nobody took has no length.
    z.dauer = z.angenommen.value() ? static_cast<int>(it->verbunden.secsTo(QDateTime::currentDateTime())) : -1;
    m_laufend.erase(it);
    senden({z});
}

void Teamjournal::senden(const QList<Journalzeile> &zeilen)
{
    if (m_ausgang) {
        for (const Journalzeile &z : zeilen)
            m_ausgang->hinzufuegen(z);
    }
    QMetaObject::invokeMethod(m_schreiber, [s = m_schreiber, zeilen] { s->schreibe(zeilen); });
}

void Teamjournal::geschrieben(const QStringList &anrufIds, const QStringList &mitAusgang)
{
    if (m_ausgang)
        m_ausgang->entfernen(anrufIds, mitAusgang);
    emit Geschrieben(anrufIds);
}

void Teamjournal::zustand(bool erreichbar, const QString &text)
{
    m_erreichbar = erreichbar;
    m_zustand = text;
    emit ZustandGeaendert(text);
}
