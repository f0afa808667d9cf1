#pragma once

#include <QString>

#include <cstdint>
#include <memory>

// ACT!'s automation object as the program calls it, member by member, and
// the facility that finds ACT!'s main window and creates the object.

// A failure inside ACT!'s automation: a number and a description.
struct ActFehler
{
    long nummer;
    QString beschreibung;
};

class ActView
{
public:
    virtual ~ActView() = default;
    virtual std::int32_t Type() = 0; // 1 contact view, 3 group view
    virtual QString GetCurrentID() = 0;
    virtual std::int32_t currentfieldid() = 0;
    // False when the field was not written.
    virtual bool setfield(std::int32_t feld, const QString &wert) = 0;
    virtual QString getfield(std::int32_t feld) = 0;
    virtual void lookupall() = 0;
    virtual void GoTo(const QString &id) = 0;
};

class ActViews
{
public:
    virtual ~ActViews() = default;
    // Nothing while ACT! cannot answer.
    virtual std::shared_ptr<ActView> GetActive() = 0;
    virtual std::shared_ptr<ActView> Create(std::int16_t typ, std::int16_t modus) = 0;
};

class ActObjekt
{
public:
    virtual ~ActObjekt() = default;
    // May raise ActFehler.
    virtual QString GetOpenDBName() = 0;
    virtual std::shared_ptr<ActViews> Views() = 0;
    virtual QString GetVersion(std::int16_t art) = 0;
    virtual std::int32_t Command(std::int32_t &befehl) = 0;
    virtual void Show(bool sichtbar) = 0;
};

class ActAutomation
{
public:
    virtual ~ActAutomation() = default;
    // ACT!'s main window, searched by the caption text it contains.
    virtual bool Hauptfenster(const QString &titeltext) = 0;
    // The automation object; nothing when it cannot be created.
    virtual std::shared_ptr<ActObjekt> ErstelleObjekt() = 0;
    // Brings the main window found by the caption text to the front; false
    // when there is none.
    virtual bool NachVorne(const QString &titeltext) = 0;
};
