#include "team/Teamabfrage.h"

#include "platform/teamjournal/Journalleser.h"

using namespace Qt::StringLiterals;

Teamabfrage::Teamabfrage(const Teamzugang &zugang, QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<Journalzeile>();
    qRegisterMetaType<QList<Journalzeile>>();
    qRegisterMetaType<Teamfilter>();
    qRegisterMetaType<Teamzugang>();
    m_thread.setObjectName(u"Team-Abfrage"_s);
    m_leser = new Journalleser;
    m_leser->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_leser, &QObject::deleteLater);
    connect(m_leser, &Journalleser::ergebnis, this, &Teamabfrage::Ergebnis);
    connect(m_leser, &Journalleser::neu, this, &Teamabfrage::Neu);
    connect(m_leser, &Journalleser::zustand, this, &Teamabfrage::Zustand);
    m_thread.start();
    QMetaObject::invokeMethod(m_leser, [l = m_leser, zugang] { l->setZugang(zugang); });
}

Teamabfrage::~Teamabfrage()
{
    m_leser->abbrechen();
    QMetaObject::invokeMethod(m_leser, [l = m_leser] { l->beenden(); });
    m_thread.quit();
    m_thread.wait();
}

void Teamabfrage::abfragen(const Teamfilter &filter)
{
    QMetaObject::invokeMethod(m_leser, [l = m_leser, filter] { l->abfragen(filter); });
}
