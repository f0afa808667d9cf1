#include "windows/Nummernlistenbefehl.h"

#include "platform/dialogs/Dialogs.h"
#include "phonedb/FreieListe.h"
#include "windows/frmNummernliste.h"

using namespace Qt::StringLiterals;

Nummernlistenbefehl::Nummernlistenbefehl(Dialogs &dialogs, std::function<std::shared_ptr<Database>()> datenbank,
                                         QWidget *hauptfenster)
    : m_dialogs(dialogs)
    , m_datenbank(std::move(datenbank))
    , m_hauptfenster(hauptfenster)
{
}

void Nummernlistenbefehl::mnuNummern()
{
    std::shared_ptr<Database> db = m_datenbank ? m_datenbank() : nullptr;
    if (!FreieListe::nutzbar(db)) {
        // The start-up has reported why the phone database is missing.
        m_dialogs.MsgBox(
            u"Die Nummernliste ist nicht verfügbar, weil die Datenbank Nummern.mdb nicht geöffnet ist."_s,
            Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
        return;
    }
    frmNummernliste fenster(m_dialogs, db, m_hauptfenster);
    if (fenster.Form_Load())
        fenster.exec();
}
