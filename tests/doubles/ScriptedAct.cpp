#include "ScriptedAct.h"

namespace {

class Ansicht : public ActView
{
public:
    Ansicht(ScriptedAct &act, std::int32_t typ) : m_act(act), m_typ(typ) {}
    std::int32_t Type() override { return m_typ; }
    QString GetCurrentID() override { return m_act.aktuelleId; }
    std::int32_t currentfieldid() override { return 42; }
    bool setfield(std::int32_t f, const QString &w) override
    {
        m_act.journal << QStringLiteral("setfield(%1,%2)").arg(f).arg(w);
        return true;
    }
    QString getfield(std::int32_t f) override
    {
        m_act.journal << QStringLiteral("getfield(%1)").arg(f);
        return QStringLiteral("Wert %1").arg(f);
    }
    void lookupall() override { m_act.journal << QStringLiteral("lookupall"); }
    void GoTo(const QString &id) override { m_act.journal << QStringLiteral("GoTo(%1)").arg(id); }

private:
    ScriptedAct &m_act;
    std::int32_t m_typ;
};

// A view, or none while ACT! is scripted not to answer.
std::shared_ptr<ActView> ansicht(ScriptedAct &act, std::int32_t typ)
{
    if (act.keineAnsicht > 0) {
        --act.keineAnsicht;
        return nullptr;
    }
    return std::make_shared<Ansicht>(act, typ);
}

class Ansichten : public ActViews
{
public:
    explicit Ansichten(ScriptedAct &act) : m_act(act) {}
    std::shared_ptr<ActView> GetActive() override
    {
        m_act.journal << QStringLiteral("GetActive");
        return ansicht(m_act, m_act.ansichtTyp);
    }
    std::shared_ptr<ActView> Create(std::int16_t typ, std::int16_t modus) override
    {
        m_act.journal << QStringLiteral("Create(%1,%2)").arg(typ).arg(modus);
        return ansicht(m_act, typ);
    }

private:
    ScriptedAct &m_act;
};

class Objekt : public ActObjekt
{
public:
    explicit Objekt(ScriptedAct &act) : m_act(act) {}
    QString GetOpenDBName() override
    {
        m_act.journal << QStringLiteral("GetOpenDBName");
        if (m_act.datenbankFehler)
            throw ActFehler{462, QStringLiteral("Der Remote-Servercomputer existiert nicht.")};
        return m_act.datenbank;
    }
    std::shared_ptr<ActViews> Views() override { return std::make_shared<Ansichten>(m_act); }
    QString GetVersion(std::int16_t art) override { return QStringLiteral("Version %1").arg(art); }
    std::int32_t Command(std::int32_t &befehl) override
    {
        m_act.journal << QStringLiteral("Command(%1)").arg(befehl);
        return m_act.befehlAntwort;
    }
    void Show(bool s) override { m_act.journal << QStringLiteral("Show(%1)").arg(s ? 1 : 0); }

private:
    ScriptedAct &m_act;
};

} // namespace

bool ScriptedAct::Hauptfenster(const QString &titeltext)
{
    journal << QStringLiteral("Hauptfenster(%1)").arg(titeltext);
    return laeuft;
}

std::shared_ptr<ActObjekt> ScriptedAct::ErstelleObjekt()
{
    return objektFehlt ? nullptr : std::make_shared<Objekt>(*this);
}

bool ScriptedAct::NachVorne(const QString &titeltext)
{
    journal << QStringLiteral("NachVorne(%1)").arg(titeltext);
    return laeuft;
}
