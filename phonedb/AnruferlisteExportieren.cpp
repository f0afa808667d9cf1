#include "phonedb/AnruferlisteExportieren.h"

#include "core/Anruf.h"
#include "phonedb/Anruferlistenexport.h"
#include "platform/dialogs/Dialogs.h"

#include <QDir>

using namespace Qt::StringLiterals;

AnruferlisteExportieren::AnruferlisteExportieren(Dialogs &dialogs, std::vector<Anruf> anrufe)
    : m_dialogs(dialogs)
    , m_anrufe(std::move(anrufe))
{
}

AnruferlisteExportieren::~AnruferlisteExportieren() = default;

QString AnruferlisteExportieren::Titel()
{
    return u"Rufmon - Anruferliste exportieren"_s;
}

QString AnruferlisteExportieren::Filter()
{
    return u"Tabelle (*.csv);;Adressbuch (*.vcf)"_s;
}

QString AnruferlisteExportieren::Vorschlag(const QString &ordner, QDate tag)
{
    return QDir(ordner).filePath(u"Anruferliste "_s + tag.toString(u"yyyy-MM-dd"_s) + u".csv"_s);
}

QString AnruferlisteExportieren::mnuAnruferlisteExportieren(const Firmensuche &firmen)
{
    m_meldung.clear();
    if (m_anrufe.empty()) {
        m_dialogs.MsgBox(u"Die Anruferliste enthält keine Einträge."_s, Dialogs::Buttons::Ok,
                         Dialogs::Icon::Information, Titel());
        return {};
    }
    const QString pfad = m_dialogs.GetSaveFileName(Titel(), Vorschlag(QDir::homePath(), QDate::currentDate()), Filter());
    if (pfad.isEmpty())
        return {};

    QList<Anruferlistenexport::Zeile> zeilen = Anruferlistenexport::ausAnrufen(m_anrufe);
    const bool adressbuch = Anruferlistenexport::FormatFuer(pfad) == Anruferlistenexport::Format::Adressbuch;
    if (adressbuch && Anruferlistenexport::Kontakte(zeilen) == 0) {
        m_dialogs.MsgBox(u"In der Anruferliste steht kein Anrufer, der als Kontakt erkannt wurde."_s,
                         Dialogs::Buttons::Ok, Dialogs::Icon::Information, Titel());
        return {};
    }
    if (firmen) {
        const QHash<QString, QString> bekannt = firmen(Anruferlistenexport::KontaktIds(zeilen));
        for (Anruferlistenexport::Zeile &z : zeilen)
            z.firma = bekannt.value(z.kontaktId);
    }

    Anruferlistenexport datei;
    if (!datei.schreibe(pfad, zeilen)) {
        m_dialogs.MsgBox(u"Die Anruferliste konnte nicht als "_s + pfad + u" gespeichert werden."_s + u"\r\n"_s
                             + datei.Fehler(),
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Titel());
        return {};
    }
    m_meldung = adressbuch ? QString::number(Anruferlistenexport::Kontakte(zeilen)) + u" Kontakte exportiert nach "_s + pfad
                           : QString::number(zeilen.size()) + u" Anrufe exportiert nach "_s + pfad;
    return pfad;
}
