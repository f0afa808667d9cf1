#include "platform/kennwort/SchluesselbundKennwortspeicher.h"

#include "platform/kennwort/DiagnoseKennwort.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <qt6keychain/keychain.h>

using namespace Qt::StringLiterals;

namespace {

// Runs the job to its end in a local event loop: the keyring answers over
// D-Bus and may first ask the user to unlock it. False when it took too long
// (the job then ends on its own and deletes itself).
bool warte(QKeychain::Job *job, int ms)
{
    QEventLoop schleife;
    bool fertig = false;
    QObject::connect(job, &QKeychain::Job::finished, &schleife, [&] {
        fertig = true;
        schleife.quit();
    });
    QTimer::singleShot(ms, &schleife, &QEventLoop::quit);
    job->start();
    if (!fertig)
        schleife.exec();
    return fertig;
}

} // namespace

SchluesselbundKennwortspeicher::SchluesselbundKennwortspeicher(const QString &dienst)
    : m_dienst(dienst)
{
}

SchluesselbundKennwortspeicher::Antwort SchluesselbundKennwortspeicher::frage(const QString &konto, QString *kennwort)
{
    auto *job = new QKeychain::ReadPasswordJob(m_dienst);
    job->setKey(konto);
    // Never a plain-text file beside the settings.
    job->setInsecureFallback(false);
    const QPointer<QKeychain::ReadPasswordJob> beobachtet(job);
    if (!warte(job, WarteMs)) {
        qCWarning(lcKennwort) << "Der Schlüsselbund antwortet nicht";
        return Antwort::KeinSchluesselbund;
    }
    // Finished jobs delete themselves later, so the answer is still there.
    switch (beobachtet ? beobachtet->error() : QKeychain::OtherError) {
    case QKeychain::NoError:
        if (kennwort)
            *kennwort = beobachtet->textData();
        return Antwort::Ja;
    case QKeychain::EntryNotFound:
    case QKeychain::AccessDeniedByUser:
        return Antwort::Fehlt;
    default:
        qCWarning(lcKennwort).noquote() << u"Kein Schlüsselbund:"_s << beobachtet->errorString();
        return Antwort::KeinSchluesselbund;
    }
}

bool SchluesselbundKennwortspeicher::dauerhaft()
{
    if (!m_vorhanden)
        m_vorhanden = frage(u"Rufmon-Probe"_s, nullptr) != Antwort::KeinSchluesselbund;
    return *m_vorhanden;
}

std::optional<QString> SchluesselbundKennwortspeicher::lies(const QString &konto)
{
    if (const auto bekannt = m_sitzung.lies(konto))
        return bekannt;
    if (m_vorhanden == false)
        return std::nullopt;
    QString kennwort;
    const Antwort antwort = frage(konto, &kennwort);
    m_vorhanden = antwort != Antwort::KeinSchluesselbund;
    if (antwort != Antwort::Ja)
        return std::nullopt;
    m_sitzung.schreibe(konto, kennwort);
    return kennwort;
}

bool SchluesselbundKennwortspeicher::schreibe(const QString &konto, const QString &kennwort)
{
    m_sitzung.schreibe(konto, kennwort);
    if (!dauerhaft())
        return false;
    auto *job = new QKeychain::WritePasswordJob(m_dienst);
    job->setKey(konto);
    job->setInsecureFallback(false);
    job->setTextData(kennwort);
    const QPointer<QKeychain::WritePasswordJob> beobachtet(job);
    const bool ok = warte(job, WarteMs) && beobachtet && beobachtet->error() == QKeychain::NoError;
    if (!ok)
        qCWarning(lcKennwort).noquote() << u"Kennwort nicht im Schlüsselbund gespeichert:"_s
                                        << (beobachtet ? beobachtet->errorString() : u"keine Antwort"_s);
    return ok;
}

void SchluesselbundKennwortspeicher::vergiss(const QString &konto)
{
    m_sitzung.vergiss(konto);
    if (m_vorhanden == false)
        return;
    auto *job = new QKeychain::DeletePasswordJob(m_dienst);
    job->setKey(konto);
    job->setInsecureFallback(false);
    warte(job, WarteMs);
}
