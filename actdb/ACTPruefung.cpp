#include "actdb/ACTPruefung.h"

#include "actdb/ACTPruefungsumfeld.h"
#include "actdb/ActPfad.h"
#include "actdb/Felddefinitionen.h"
#include "actdb/Meldungssperre.h"
#include "actdb/DiagnoseActdb.h"
#include "actdb/clACTFelder.h"
#include "core/Handbuch.h"
#include "core/modOptionen.h"
#include "platform/dialogs/Dialogs.h"

#include <QScopedValueRollback>

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = u"\r\n"_s;

} // namespace

ACTPruefung::ACTPruefung(clACTFelder &felder, Meldungssperre &dialogs, const modOptionen &optionen,
                         ACTPruefungsumfeld &umfeld)
    : m_felder(felder)
    , m_dialogs(dialogs)
    , m_optionen(optionen)
    , m_u(umfeld)
{
}

QString ACTPruefung::Supportzeile()
{
    return Handbuch::Hinweis();
}

void ACTPruefung::PruefeACTDatenbank()
{
    // Reading the fields lets the window breathe; a check asked for meanwhile
    // (another database chosen) runs after this one, on the new database,
    // instead of reading into the same field list at the same time.
    if (m_laeuft) {
        m_nochmal = true;
        return;
    }
    const QScopedValueRollback<bool> lauf(m_laeuft, true);
    do {
        if (m_nochmal)
            m_bereit = false;
        m_nochmal = false;
        pruefe();
    } while (m_nochmal);
}

void ACTPruefung::pruefe()
{
    m_u.setPruefungAktiv(false);
    QString name;
    const auto ende = [&](bool tip = true) {
        m_u.setPruefungAktiv(true);
        if (tip)
            m_u.setACTHinweis(name);
    };

    if (!m_u.ACTgestartet()) {
        m_u.setACTText(u"Kein ACT! gestartet"_s);
        m_u.setACTBereit(false);
        m_bereit = false;
        ende();
        return;
    }
    name = m_u.ACTDatenbank();
    m_u.setACTText(name);
    if (name.isEmpty()) {
        m_u.setACTText(u"Keine ACT!-Datenbank geöffnet"_s);
        m_u.setACTBereit(false);
        m_bereit = false;
        ende();
        return;
    }
    if (!m_bereit) {
        // The same database, found the way Windows would find it, keeps its definitions.
        if (m_felder.ACTDatenbankpfad != name && m_felder.ACTDatenbankpfad != ActPfad::finde(name)) {
            m_felder.kill();
            m_felder.init(name);
        }
        if (!m_felder.Felder_eingelesen()) {
            try {
                m_felder.Felder_einlesen([this](const QString &text) { m_u.setACTText(text); });
            } catch (const Felddefinitionen::Fehler &e) {
                qCWarning(lcActdb).noquote() << u"Felddefinitionen von %1 nicht lesbar (%2: %3); neuer Versuch beim nächsten Takt"_s.arg(
                    name, QString::number(e.nummer), e.beschreibung);
                m_dialogs.MsgBox(u"Es ist ein Fehler beim Analysieren der Felddefinitionen in Ihrer "
                                 u"ACT!-Datenbank aufgetreten."_s
                                     + CRLF + Supportzeile() + CRLF + u"Fehlernummer:"_s + QString::number(e.nummer)
                                     + CRLF + u"Fehlerbeschreibung: "_s + e.beschreibung,
                                 Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
                // Nothing of a read that failed counts: the next tick reads anew.
                m_felder.kill();
                fehlgeschlagen(name, u"Fehlernummer:"_s + QString::number(e.nummer) + CRLF + e.beschreibung);
                ende(false);
                return;
            }
            if (!m_felder.Felder_eingelesen()) {
                qCWarning(lcActdb).noquote() << u"Tabellen von %1 nicht geöffnet; neuer Versuch beim nächsten Takt"_s.arg(name);
                // The tables could not be opened (the reason was shown once): without
                // phone fields the database is not ready; the next tick tries again.
                m_felder.kill();
                fehlgeschlagen(name, m_dialogs.letzteMeldung());
                ende(false);
                return;
            }
            std::vector<clACTFeld> kontakt;
            for (int i = 0; i < m_felder.AnzahlKontaktfelder(); ++i)
                kontakt.push_back(m_felder.KontaktFeld(i));
            m_u.TelefonfelderSetzen(kontakt, m_optionen.leseText(u"Ausschlussfelder"_s));
            m_u.setACTText(name);
        }
        m_u.CacheSchritt();
    }
    m_u.setACTBereit(true);
    m_bereit = true;
    // A failure after this one is news again.
    m_dialogs.freigeben();
    ende();
}

void ACTPruefung::fehlgeschlagen(const QString &name, const QString &grund)
{
    m_bereit = false;
    m_u.setACTText(u"ACT!-Datenbank nicht lesbar"_s);
    m_u.setACTBereit(false);
    m_u.setACTHinweis(name + CRLF + grund);
}
