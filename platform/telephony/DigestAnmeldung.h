#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

// HTTP Digest authentication (RFC 7616, and RFC 2617 before it), done here
// rather than by Qt: Qt answers whatever scheme a server asks for, Basic
// included, and would send the password readable. This answers Digest only,
// so the password itself never leaves.
class DigestAnmeldung
{
public:
    using Kopfzeilen = QList<QPair<QByteArray, QByteArray>>;

    struct Angebot;
    // The response's headers as received; other headers are passed over.
    static Angebot lies(const Kopfzeilen &kopfzeilen);
    // One header value, which may hold several challenges.
    static Angebot lies(const QByteArray &wwwAuthenticate);

    // The value of the Authorization header for that request. cnonce: the
    // client's random value (fixed only for tests).
    QByteArray antwort(const QString &benutzer, const QString &kennwort, const QByteArray &methode,
                       const QByteArray &uri, const QByteArray &cnonce) const;
    // A fresh random cnonce.
    static QByteArray neuerCnonce();

    const QByteArray &realm() const { return m_realm; }
    const QByteArray &algorithmus() const { return m_algorithmus; }

private:
    // The challenge's parameters, names in lower case; nothing when it asks
    // for what this does not do (another hash, only qop=auth-int).
    static std::optional<DigestAnmeldung> aus(const QHash<QByteArray, QByteArray> &parameter);

    QByteArray m_realm;
    QByteArray m_nonce;
    std::optional<QByteArray> m_opaque; // given back as received, even empty
    QByteArray m_algorithmus; // as the server wrote it; empty for MD5 unnamed
    bool m_sha256 = false;
    bool m_sess = false;
    bool m_qopAuth = false; // else the old form without qop
    bool m_utf8 = false;    // charset=UTF-8, else user and password in Latin-1
};

// What a 401 offered: the schemes named in its WWW-Authenticate headers, in
// order, and the first Digest challenge that can be answered.
struct DigestAnmeldung::Angebot
{
    QByteArrayList verfahren;
    std::optional<DigestAnmeldung> digest;
};
