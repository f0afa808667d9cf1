#include "platform/telephony/DigestAnmeldung.h"

#include <QByteArrayView>
#include <QCryptographicHash>
#include <QRandomGenerator>

#include <algorithm>

namespace {

bool leer(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void ueberspringeLeere(QByteArrayView text, qsizetype &i)
{
    while (i < text.size() && leer(text[i]))
        ++i;
}

// A token ends at a blank, a comma, an equals sign or a quote.
QByteArray token(QByteArrayView text, qsizetype &i)
{
    const qsizetype von = i;
    while (i < text.size() && !leer(text[i]) && text[i] != ',' && text[i] != '=' && text[i] != '"')
        ++i;
    return text.sliced(von, i - von).toByteArray();
}

// A token or a quoted string, its backslashes taken away.
QByteArray wert(QByteArrayView text, qsizetype &i)
{
    if (i >= text.size() || text[i] != '"')
        return token(text, i);
    QByteArray w;
    for (++i; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] == '\\' && i + 1 < text.size())
            ++i;
        w.append(text[i]);
    }
    ++i; // the closing quote
    return w;
}

// A value in quotes as a header carries it; a control character would end the header.
QByteArray inAnfuehrungszeichen(const QByteArray &text)
{
    QByteArray q = "\"";
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            continue;
        if (c == '"' || c == '\\')
            q.append('\\');
        q.append(c);
    }
    return q + '"';
}

struct Challenge
{
    QByteArray verfahren;
    QHash<QByteArray, QByteArray> parameter;
};

// "Basic realm="a", Digest realm="b", nonce="c"": a token followed by "="
// is a parameter of the challenge before it, any other token starts one.
QList<Challenge> challenges(QByteArrayView text)
{
    QList<Challenge> liste;
    qsizetype i = 0;
    while (i < text.size()) {
        ueberspringeLeere(text, i);
        if (i < text.size() && text[i] == ',') {
            ++i;
            continue;
        }
        const qsizetype vorher = i;
        const QByteArray name = token(text, i);
        ueberspringeLeere(text, i);
        if (i < text.size() && text[i] == '=') {
            ++i;
            ueberspringeLeere(text, i);
            const QByteArray w = wert(text, i);
            if (!liste.isEmpty() && !name.isEmpty() && !liste.last().parameter.contains(name.toLower()))
                liste.last().parameter.insert(name.toLower(), w);
        } else if (!name.isEmpty()) {
            liste.append({name, {}});
        }
        if (i == vorher)
            ++i; // a stray quote
    }
    return liste;
}

} // namespace

DigestAnmeldung::Angebot DigestAnmeldung::lies(const QByteArray &wwwAuthenticate)
{
    Angebot angebot;
    for (const Challenge &c : challenges(wwwAuthenticate)) {
        angebot.verfahren.append(c.verfahren);
        if (!angebot.digest && c.verfahren.compare("Digest", Qt::CaseInsensitive) == 0)
            angebot.digest = aus(c.parameter);
    }
    return angebot;
}

DigestAnmeldung::Angebot DigestAnmeldung::lies(const Kopfzeilen &kopfzeilen)
{
    Angebot angebot;
    for (const auto &[name, wert] : kopfzeilen) {
        if (name.compare("WWW-Authenticate", Qt::CaseInsensitive) != 0)
            continue;
        Angebot eines = lies(wert);
        angebot.verfahren.append(eines.verfahren);
        if (!angebot.digest)
            angebot.digest = std::move(eines.digest);
    }
    return angebot;
}

std::optional<DigestAnmeldung> DigestAnmeldung::aus(const QHash<QByteArray, QByteArray> &parameter)
{
    DigestAnmeldung d;
    d.m_nonce = parameter.value("nonce");
    if (d.m_nonce.isEmpty() || !parameter.contains("realm"))
        return std::nullopt;
    d.m_realm = parameter.value("realm");
    if (parameter.contains("opaque"))
        d.m_opaque = parameter.value("opaque");

    const QByteArray algorithmus = parameter.value("algorithm").toLower();
    static const QByteArrayList bekannt{"md5", "md5-sess", "sha-256", "sha-256-sess"};
    if (!algorithmus.isEmpty() && !bekannt.contains(algorithmus))
        return std::nullopt;
    d.m_sha256 = algorithmus.startsWith("sha-256");
    d.m_sess = algorithmus.endsWith("-sess");
    if (!algorithmus.isEmpty())
        d.m_algorithmus = QByteArray(d.m_sha256 ? "SHA-256" : "MD5") + (d.m_sess ? "-sess" : "");

    if (parameter.contains("qop")) {
        // auth-int would need the body's hash; a server that offers only that is not answered.
        const QByteArrayList arten = parameter.value("qop").split(',');
        d.m_qopAuth = std::any_of(arten.cbegin(), arten.cend(), [](const QByteArray &a) {
            return a.trimmed().compare("auth", Qt::CaseInsensitive) == 0;
        });
        if (!d.m_qopAuth)
            return std::nullopt;
    }
    d.m_utf8 = parameter.value("charset").compare("UTF-8", Qt::CaseInsensitive) == 0;
    return d;
}

QByteArray DigestAnmeldung::antwort(const QString &benutzer, const QString &kennwort, const QByteArray &methode,
                                    const QByteArray &uri, const QByteArray &cnonce) const
{
    const auto h = [this](const QByteArray &text) {
        return QCryptographicHash::hash(text, m_sha256 ? QCryptographicHash::Sha256 : QCryptographicHash::Md5).toHex();
    };
    const QByteArray user = m_utf8 ? benutzer.toUtf8() : benutzer.toLatin1();
    const QByteArray pass = m_utf8 ? kennwort.toUtf8() : kennwort.toLatin1();
    QByteArray ha1 = h(user + ':' + m_realm + ':' + pass);
    if (m_sess)
        ha1 = h(ha1 + ':' + m_nonce + ':' + cnonce);
    const QByteArray ha2 = h(methode + ':' + uri);
    const QByteArray nc = "00000001"; // one request per challenge
    const QByteArray response = m_qopAuth ? h(ha1 + ':' + m_nonce + ':' + nc + ':' + cnonce + ":auth:" + ha2)
                                          : h(ha1 + ':' + m_nonce + ':' + ha2);

    QByteArray kopf = "Digest username=" + inAnfuehrungszeichen(user) + ", realm=" + inAnfuehrungszeichen(m_realm)
                      + ", nonce=" + inAnfuehrungszeichen(m_nonce) + ", uri=" + inAnfuehrungszeichen(uri);
    if (!m_algorithmus.isEmpty())
        kopf += ", algorithm=" + m_algorithmus;
    kopf += ", response=" + inAnfuehrungszeichen(response);
    if (m_opaque)
        kopf += ", opaque=" + inAnfuehrungszeichen(*m_opaque);
    if (m_qopAuth)
        kopf += ", qop=auth, nc=" + nc + ", cnonce=" + inAnfuehrungszeichen(cnonce);
    return kopf;
}

QByteArray DigestAnmeldung::neuerCnonce()
{
    quint32 zufall[4];
    QRandomGenerator::system()->fillRange(zufall);
    return QByteArray(reinterpret_cast<const char *>(zufall), sizeof zufall).toHex();
}
