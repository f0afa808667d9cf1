#pragma once

#include "platform/benachrichtigung/Benachrichtigungen.h"

#include <QDBusConnection>
#include <QList>
#include <QVariantMap>

// Notifications over org.freedesktop.Notifications on a D-Bus connection
// (the session bus). The server's capabilities are asked once before the
// first notification: buttons only where it lists "actions", texts escaped
// where it reads markup. Each names the program's menu entry and its icon;
// where the icon theme lacks the icon, a picture file of it goes along.
class DBusBenachrichtigungen : public Benachrichtigungen
{
    Q_OBJECT

public:
    // `bild`: a picture of the program's icon for a desktop whose theme lacks it (Programmsymbol::Bild).
    explicit DBusBenachrichtigungen(const QDBusConnection &bus, const QString &bild = {}, QObject *parent = nullptr);

    void zeige(quint64 auftrag, const Meldung &meldung, uint ersetzt) override;

    static QString Dienst();
    static QString Pfad();
    // The name of the program's icon in the desktop's icon theme.
    static QString Symbol();
    // The hints every notification carries.
    QVariantMap Hinweise() const;

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
    QString m_bild;
    bool m_gefragt = false;    // the capabilities are being asked for
    bool m_bekannt = false;    // the capabilities are known
    bool m_aktionen = false;
    bool m_markup = false;
    QList<Auftrag> m_wartend;
};
