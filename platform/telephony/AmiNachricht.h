#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <QString>

// One message of the Asterisk Manager Interface: "Name: Wert" fields, read
// by name in any order. Comes from the network, so it trusts nothing: lines
// without a colon are skipped, control characters dropped from the values.
class AmiNachricht
{
public:
    using Feld = QPair<QString, QString>;

    // The lines of one message, as AmiStrom hands them on.
    static AmiNachricht lies(QByteArrayView text);
    // An action to send, ended by its blank line. Line breaks and other
    // control characters are dropped from the values: a number or a name
    // from the settings must not add fields of its own.
    static QByteArray aktion(const QList<Feld> &felder);

    // The value of the first field of that name (any case); empty when there is none.
    QString wert(QStringView name) const;
    bool hat(QStringView name) const;
    // "Event: NAME" (any case).
    bool istEreignis(QStringView name) const;
    // A "Response:" without an "Event:" field: the answer to an action.
    bool istAntwort() const;
    const QList<Feld> &felder() const { return m_felder; }

private:
    QList<Feld> m_felder;
};
