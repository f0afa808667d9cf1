#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class Database;
class Dialogs;

// Options menu "Rufmon &Nummern": the free-list editor, modal.
class Nummernlistenbefehl
{
public:
    // `datenbank`: the open phone database, null while none is open.
    Nummernlistenbefehl(Dialogs &dialogs, std::function<std::shared_ptr<Database>()> datenbank,
                        QWidget *hauptfenster);

    void mnuNummern();

private:
    Dialogs &m_dialogs;
    std::function<std::shared_ptr<Database>()> m_datenbank;
    QPointer<QWidget> m_hauptfenster;
};
