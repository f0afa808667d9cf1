#include "platform/teamjournal/PgVerbindung.h"

#include "platform/teamjournal/Teamzugang.h"

#include <libpq-fe.h>

#include <poll.h>

#include <chrono>

#include <vector>

using namespace Qt::StringLiterals;

PgVerbindung::~PgVerbindung()
{
    schliessen();
}

bool PgVerbindung::oeffnen(const Teamzugang &zugang, int sekunden, QString *fehler, const std::atomic<bool> *abbruch)
{
    schliessen();
    // Keywords and values apart: a password or name with blanks or quotes
    // cannot change what else is asked for.
    const QByteArray host = zugang.host.toUtf8();
    const QByteArray port = QByteArray::number(zugang.port);
    const QByteArray db = zugang.datenbank.toUtf8();
    const QByteArray benutzer = zugang.benutzer.toUtf8();
    const QByteArray kennwort = zugang.kennwort.toUtf8();
    const QByteArray tls = zugang.tls.toUtf8();
    const QByteArray warten = QByteArray::number(std::max(1, sekunden));
    std::vector<const char *> schluessel{"host", "port", "dbname", "sslmode", "connect_timeout", "application_name",
                                         "client_encoding"};
    std::vector<const char *> werte{host.constData(), port.constData(), db.constData(), tls.constData(),
                                    warten.constData(), "Rufmon", "UTF8"};
    if (!zugang.benutzer.isEmpty()) {
        schluessel.push_back("user");
        werte.push_back(benutzer.constData());
    }
    if (!zugang.kennwort.isEmpty()) {
        schluessel.push_back("password");
        werte.push_back(kennwort.constData());
    }
    schluessel.push_back(nullptr);
    werte.push_back(nullptr);
    // Made step by step, so that a program that ends does not wait for a
    // server that does not answer.
    m_conn = PQconnectStartParams(schluessel.data(), werte.data(), 0);
    const auto ende = std::chrono::steady_clock::now() + std::chrono::seconds(std::max(1, sekunden));
    PostgresPollingStatusType schritt = PGRES_POLLING_WRITING;
    while (m_conn && PQstatus(m_conn) != CONNECTION_BAD && schritt != PGRES_POLLING_OK
           && schritt != PGRES_POLLING_FAILED) {
        if ((abbruch && abbruch->load()) || std::chrono::steady_clock::now() >= ende) {
            if (fehler)
                *fehler = abbruch && abbruch->load() ? u"abgebrochen"_s : u"keine Antwort"_s;
            schliessen();
            return false;
        }
        pollfd p{PQsocket(m_conn), static_cast<short>(schritt == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        if (::poll(&p, 1, 100) > 0 || p.fd < 0)
            schritt = PQconnectPoll(m_conn);
    }
    if (m_conn && PQstatus(m_conn) == CONNECTION_OK) {
        // The server's notices ("already exists, skipping") are no news for anybody.
        PQsetNoticeProcessor(m_conn, [](void *, const char *) {}, nullptr);
        return true;
    }
    if (fehler)
        *fehler = m_conn ? QString::fromUtf8(PQerrorMessage(m_conn)).trimmed() : u"Kein Speicher"_s;
    schliessen();
    return false;
}

void PgVerbindung::schliessen()
{
    if (m_conn)
        PQfinish(m_conn);
    m_conn = nullptr;
}

bool PgVerbindung::offen() const
{
    return m_conn && PQstatus(m_conn) == CONNECTION_OK;
}

bool PgVerbindung::verschluesselt() const
{
    return m_conn && PQsslInUse(m_conn) == 1;
}

PgVerbindung::Ergebnis PgVerbindung::ausfuehren(const QByteArray &sql, const QVariantList &werte)
{
    Ergebnis e;
    if (!m_conn) {
        e.fehler = u"Keine Verbindung"_s;
        return e;
    }
    std::vector<QByteArray> texte;
    std::vector<const char *> zeiger;
    texte.reserve(werte.size());
    for (const QVariant &w : werte) {
        if (w.isNull()) {
            texte.emplace_back();
            zeiger.push_back(nullptr);
            continue;
        }
        if (w.typeId() == QMetaType::Bool)
            texte.push_back(w.toBool() ? "true" : "false");
        else
            texte.push_back(w.toString().toUtf8());
        zeiger.push_back(texte.back().constData());
    }
    PGresult *r = PQexecParams(m_conn, sql.constData(), static_cast<int>(zeiger.size()), nullptr, zeiger.data(),
                               nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(r);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) {
        e.ok = true;
        const int zeilen = PQntuples(r);
        const int spalten = PQnfields(r);
        e.zeilen.reserve(zeilen);
        for (int z = 0; z < zeilen; ++z) {
            QList<QVariant> zeile;
            zeile.reserve(spalten);
            for (int s = 0; s < spalten; ++s)
                zeile.append(PQgetisnull(r, z, s) ? QVariant() : QVariant(QString::fromUtf8(PQgetvalue(r, z, s))));
            e.zeilen.append(std::move(zeile));
        }
        e.betroffen = QByteArray(PQcmdTuples(r)).toInt();
    } else {
        e.fehler = QString::fromUtf8(r ? PQresultErrorMessage(r) : PQerrorMessage(m_conn)).trimmed();
        if (r && PQresultErrorField(r, PG_DIAG_SQLSTATE))
            e.sqlstate = QString::fromLatin1(PQresultErrorField(r, PG_DIAG_SQLSTATE));
    }
    PQclear(r);
    return e;
}

int PgVerbindung::socket() const
{
    return m_conn ? PQsocket(m_conn) : -1;
}

QStringList PgVerbindung::benachrichtigungen()
{
    QStringList payloads;
    if (!m_conn)
        return payloads;
    PQconsumeInput(m_conn);
    while (PGnotify *n = PQnotifies(m_conn)) {
        payloads.append(QString::fromUtf8(n->extra));
        PQfreemem(n);
    }
    return payloads;
}
