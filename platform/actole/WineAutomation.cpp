#include "platform/actole/WineAutomation.h"

#include "platform/actole/ActDatenbankAdapter.h"
#include "platform/actole/DiagnoseWine.h"
#include "platform/actole/WineBruecke.h"
#include "platform/actole/WineDesktop.h"
#include "platform/actole/WineUmgebung.h"

using namespace Qt::StringLiterals;

namespace {

// One object the bridge holds for us: called by member name, let go when
// the last reference to it goes.
class Verweis
{
public:
    Verweis(WineBruecke &bruecke, QString nummer)
        : m_bruecke(bruecke)
        , m_nummer(std::move(nummer))
    {
    }
    ~Verweis() { m_bruecke.frage({u"LOS"_s, m_nummer}); }
    Verweis(const Verweis &) = delete;
    Verweis &operator=(const Verweis &) = delete;

    // The result as the bridge gives it ("s:…", "i:…", "o:…", "-"); raises
    // ActFehler when ACT! reports an error, nothing when the bridge failed.
    std::optional<QString> rufe(const QString &mitglied, const QStringList &argumente = {})
    {
        const auto a = m_bruecke.frage(QStringList{u"RUFE"_s, m_nummer, mitglied} + argumente);
        if (!a)
            return std::nullopt;
        if (!a->ok)
            throw ActFehler{a->fehlernummer, a->beschreibung};
        return a->werte.value(0);
    }
    // As `rufe`, with ACT!'s errors logged and taken as no answer.
    std::optional<QString> versuche(const QString &mitglied, const QStringList &argumente = {})
    {
        try {
            return rufe(mitglied, argumente);
        } catch (const ActFehler &e) {
            qCWarning(lcWine) << "ACT!" << mitglied << "Fehler" << e.nummer << e.beschreibung;
            return std::nullopt;
        }
    }
    QString text(const QString &mitglied, const QStringList &argumente = {})
    {
        const auto w = versuche(mitglied, argumente);
        return w && w->startsWith(u"s:"_s) ? w->mid(2) : QString();
    }
    std::int32_t zahl(const QString &mitglied, const QStringList &argumente = {}, std::int32_t sonst = 0)
    {
        const auto w = versuche(mitglied, argumente);
        if (!w || w->size() < 2 || (*w)[1] != u':')
            return sonst;
        if (w->startsWith(u"s:"_s) || w->startsWith(u"i:"_s) || w->startsWith(u"b:"_s))
            return w->mid(2).toInt();
        return sonst;
    }
    std::shared_ptr<Verweis> objekt(const QString &mitglied, const QStringList &argumente = {})
    {
        const auto w = versuche(mitglied, argumente);
        if (!w || !w->startsWith(u"o:"_s))
            return nullptr;
        return std::make_shared<Verweis>(m_bruecke, w->mid(2));
    }

private:
    WineBruecke &m_bruecke;
    QString m_nummer;
};

class Ansicht : public ActView
{
public:
    explicit Ansicht(std::shared_ptr<Verweis> v)
        : m_v(std::move(v))
    {
    }
    std::int32_t Type() override { return m_v->zahl(u"Type"_s, {}, -1); }
    QString GetCurrentID() override { return m_v->text(u"GetCurrentID"_s); }
    std::int32_t currentfieldid() override { return m_v->zahl(u"currentfieldid"_s); }
    bool setfield(std::int32_t feld, const QString &wert) override
    {
        return m_v->versuche(u"setfield"_s, {u"i4:"_s + QString::number(feld), u"s:"_s + wert}).has_value();
    }
    QString getfield(std::int32_t feld) override
    {
        return m_v->text(u"getfield"_s, {u"i4:"_s + QString::number(feld)});
    }
    void lookupall() override { m_v->versuche(u"lookupall"_s); }
    void GoTo(const QString &id) override { m_v->versuche(u"GoTo"_s, {u"s:"_s + id}); }

private:
    std::shared_ptr<Verweis> m_v;
};

class Ansichten : public ActViews
{
public:
    explicit Ansichten(std::shared_ptr<Verweis> v)
        : m_v(std::move(v))
    {
    }
    std::shared_ptr<ActView> GetActive() override { return ansicht(m_v->objekt(u"GetActive"_s)); }
    std::shared_ptr<ActView> Create(std::int16_t typ, std::int16_t modus) override
    {
        return ansicht(m_v->objekt(u"Create"_s, {u"i2:"_s + QString::number(typ), u"i2:"_s + QString::number(modus)}));
    }

private:
    static std::shared_ptr<ActView> ansicht(std::shared_ptr<Verweis> v)
    {
        return v ? std::make_shared<Ansicht>(std::move(v)) : nullptr;
    }
    std::shared_ptr<Verweis> m_v;
};

class Anwendung : public ActObjekt
{
public:
    Anwendung(std::shared_ptr<Verweis> v, const WineUmgebung &umgebung, const ActDatenbankAdapter &datenbank)
        : m_v(std::move(v))
        , m_umgebung(umgebung)
        , m_datenbank(datenbank)
    {
    }
    QString GetOpenDBName() override
    {
        const auto w = m_v->rufe(u"GetOpenDBName"_s);
        const QString name = w && w->startsWith(u"s:"_s) ? w->mid(2) : QString();
        if (const QString fest = m_datenbank.Datenbank(); !fest.isEmpty())
            return fest;
        if (name.isEmpty())
            return name;
        const QString pfad = m_umgebung.LinuxPfad(name);
        if (pfad.isEmpty())
            qCWarning(lcWine) << "ACT!s Datenbank" << name << "liegt nicht im Präfix" << m_umgebung.Praefix();
        // Unmapped, the name still tells the user which database ACT! has open.
        return pfad.isEmpty() ? name : pfad;
    }
    std::shared_ptr<ActViews> Views() override
    {
        auto v = m_v->objekt(u"Views"_s);
        return v ? std::make_shared<Ansichten>(std::move(v)) : nullptr;
    }
    QString GetVersion(std::int16_t art) override { return m_v->text(u"GetVersion"_s, {u"i2:"_s + QString::number(art)}); }
    std::int32_t Command(std::int32_t &befehl) override
    {
        return m_v->zahl(u"Command"_s, {u"&i4:"_s + QString::number(befehl)});
    }
    void Show(bool sichtbar) override { m_v->versuche(u"Show"_s, {sichtbar ? u"b:1"_s : u"b:0"_s}); }

private:
    std::shared_ptr<Verweis> m_v;
    const WineUmgebung &m_umgebung;
    const ActDatenbankAdapter &m_datenbank;
};

} // namespace

WineAutomation::WineAutomation(WineBruecke &bruecke, WineDesktop &desktop, const WineUmgebung &umgebung,
                               const ActDatenbankAdapter &datenbank)
    : m_bruecke(bruecke)
    , m_desktop(desktop)
    , m_umgebung(umgebung)
    , m_datenbank(datenbank)
{
}

QString WineAutomation::Fensterklasse()
{
    return u"act3.0frameclass"_s;
}

bool WineAutomation::Hauptfenster(const QString &titeltext)
{
    return m_desktop.Suche(Fensterklasse(), titeltext) != 0;
}

std::shared_ptr<ActObjekt> WineAutomation::ErstelleObjekt()
{
    const auto a = m_bruecke.frage({u"OBJEKT"_s, u"ACTOLE.APPOBJECT"_s});
    if (!a)
        return nullptr;
    if (!a->ok || !a->werte.value(0).startsWith(u"o:"_s)) {
        qCWarning(lcWine) << "ACTOLE.APPOBJECT nicht erstellt:" << a->fehlernummer << a->beschreibung;
        return nullptr;
    }
    return std::make_shared<Anwendung>(std::make_shared<Verweis>(m_bruecke, a->werte.value(0).mid(2)), m_umgebung,
                                       m_datenbank);
}

bool WineAutomation::NachVorne(const QString &titeltext)
{
    return m_desktop.NachVorne(m_desktop.Suche(Fensterklasse(), titeltext));
}
