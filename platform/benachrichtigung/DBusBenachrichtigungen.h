#pragma once

#include "platform/benachrichtigung/Benachrichtigungen.h"

#include <QDBusConnection>
#include <QList>

// Notifications over org.freedesktop.Notifications on a D-Bus connection
// (the session bus). The server's capabilities are asked once before the
// first notification: buttons only where it lists "actions", texts escaped
// where it reads markup.
class DBusBenachrichtigungen : public Benachrichtigungen
{
    Q_OBJECT

public:
    explicit DBusBenachrichtigungen(const QDBusConnection &bus, QObject *parent = nullptr);

    void zeige(quint64 auftrag, const Meldung &meldung, uint ersetzt) override;

    static QString Dienst();
    static QString Pfad();
    // The name of the program's icon in the desktop's icon theme.
    static QString Symbol();

private slots:
    void aktion(uint id, const QString &schluessel);
    void geschlossen(uint id, uint grund);

private:
    struct Auftrag
    {
        quint64 nummer;
        Meldung meldung;
        uint ersetzt;
    };

    void frageFaehigkeiten();
    void sende(const Auftrag &auftrag);

    QDBusConnection m_bus;
    bool m_gefragt = false;    // the capabilities are being asked for
    bool m_bekannt = false;    // the capabilities are known
    bool m_aktionen = false;
    bool m_markup = false;
    QList<Auftrag> m_wartend;
};
