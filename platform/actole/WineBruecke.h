#pragma once

#include <QObject>
#include <QProcessEnvironment>
#include <QStringList>

#include <memory>
#include <optional>

class QProcess;

// The bridge process in the Wine prefix and its line protocol: one request,
// one answer, fields separated by tabs. Started on the first request and kept
// running; a bridge that dies or stops answering is started once more and
// the request asked again. When that fails too, the bridge is given up and
// `Ausgefallen` says why; until `zuruecksetzen` it is not started again.
class WineBruecke : public QObject
{
    Q_OBJECT
public:
    struct Antwort
    {
        bool ok = false;
        QStringList werte;         // after "OK"
        long fehlernummer = 0;     // after "FEHLER"
        QString beschreibung;
    };

    // `programm` with `argumente` runs the bridge (wine and the bridge's path).
    WineBruecke(QString programm, QStringList argumente, QProcessEnvironment umgebung, QObject *parent = nullptr);
    ~WineBruecke() override;

    // Nothing when the bridge could not answer.
    std::optional<Antwort> frage(const QStringList &anfrage);

    bool laeuft() const;
    bool aufgegeben() const { return m_aufgegeben; }
    void zuruecksetzen();
    // The Linux process of the bridge; 0 when it does not run.
    qint64 prozess() const;

    static QString maskiere(const QString &feld);
    static QStringList zerlege(const QByteArray &zeile);

    // How long the bridge may take to start (Wine may first bring the
    // prefix up to date) and to answer one request.
    void setWartezeiten(int startMs, int antwortMs);

signals:
    void Ausgefallen(const QString &meldung);

private:
    bool starte();
    void beende();
    std::optional<QByteArray> zeile(int wartezeitMs);
    std::optional<Antwort> einmal(const QStringList &anfrage);

    QString m_programm;
    QStringList m_argumente;
    QProcessEnvironment m_umgebung;
    std::unique_ptr<QProcess> m_prozess;
    bool m_aufgegeben = false;
    int m_startMs = 60000;
    int m_antwortMs = 15000;
};
