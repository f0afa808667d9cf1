#pragma once

#include "platform/actole/ActAutomation.h"

#include <QStringList>

#include <memory>

// An ACT! that the test scripts: whether its main window is there, its open
// database, whether its views answer, and a journal of every call made.
class ScriptedAct : public ActAutomation
{
public:
    bool laeuft = true;
    QString datenbank = QStringLiteral("/daten/act/KUNDEN.DBF");
    bool datenbankFehler = false;  // GetOpenDBName raises an error
    int keineAnsicht = 0;          // how many view requests answer nothing
    std::int32_t ansichtTyp = 1;
    QString aktuelleId = QStringLiteral("ABC123456789");
    std::int32_t befehlAntwort = 1;
    bool objektFehlt = false;
    QStringList journal;

    bool Hauptfenster(const QString &titeltext) override;
    std::shared_ptr<ActObjekt> ErstelleObjekt() override;
    bool NachVorne(const QString &titeltext) override;
};
