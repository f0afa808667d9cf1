#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>

// A folder and a file that may not be written, also for tests run as root,
// whom file modes do not stop: then the step under test runs as the user
// "nobody" (alsNutzer), for whom they hold.
class Schreibschutz
{
public:
    Schreibschutz();
    ~Schreibschutz();
    Schreibschutz(const Schreibschutz &) = delete;
    Schreibschutz &operator=(const Schreibschutz &) = delete;

    bool bereit() const { return m_bereit; }
    // A folder everybody may write to.
    QString offenerOrdner() const;
    // A folder nobody may write to.
    QString geschuetzterOrdner() const;
    // A file in the open folder that nobody may write to, holding `inhalt`.
    QString geschuetzteDatei(const QByteArray &inhalt);
    // Runs `schritt` as a user whom the modes hold.
    void alsNutzer(const std::function<void()> &schritt);

private:
    QTemporaryDir m_dir;
    bool m_bereit = false;
};
