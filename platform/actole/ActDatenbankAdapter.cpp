#include "platform/actole/ActDatenbankAdapter.h"

#include "platform/actole/Kontaktanzeige.h"
#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QString findeWieWindows(const QString &pfad)
{
    if (pfad.isEmpty())
        return QString();
    const QFileInfo info(pfad);
    if (info.isFile())
        return info.absoluteFilePath();
    const QDir ordner = info.absoluteDir();
    if (!ordner.exists())
        return QString();
    QString gefunden;
    for (const QString &name : ordner.entryList(QDir::Files)) {
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0) {
            if (!gefunden.isEmpty())
                return QString();
            gefunden = ordner.absoluteFilePath(name);
        }
    }
    return gefunden;
}

// The contact view: the card window.
class Kartenansicht : public ActView
{
public:
    Kartenansicht(Kontaktanzeige &anzeige, QString datenbank, std::int32_t typ)
        : m_anzeige(anzeige)
        , m_datenbank(std::move(datenbank))
        , m_typ(typ)
    {
    }

    std::int32_t Type() override { return m_typ; }
    QString GetCurrentID() override { return m_typ == 1 ? m_anzeige.aktuelleID() : QString(); }
    std::int32_t currentfieldid() override { return 0; }
    bool setfield(std::int32_t, const QString &) override { return false; }
    QString getfield(std::int32_t) override { return QString(); }
    void lookupall() override {}
    void GoTo(const QString &id) override
    {
        if (m_typ == 1)
            m_anzeige.zeige(m_datenbank, id);
    }

private:
    Kontaktanzeige &m_anzeige;
    QString m_datenbank;
    std::int32_t m_typ;
};

class Ansichten : public ActViews
{
public:
    Ansichten(Kontaktanzeige &anzeige, QString datenbank)
        : m_anzeige(anzeige)
        , m_datenbank(std::move(datenbank))
    {
    }

    std::shared_ptr<ActView> GetActive() override
    {
        return std::make_shared<Kartenansicht>(m_anzeige, m_datenbank, 1);
    }
    std::shared_ptr<ActView> Create(std::int16_t typ, std::int16_t) override
    {
        return std::make_shared<Kartenansicht>(m_anzeige, m_datenbank, typ);
    }

private:
    Kontaktanzeige &m_anzeige;
    QString m_datenbank;
};

class Objekt : public ActObjekt
{
public:
    Objekt(Kontaktanzeige &anzeige, QString datenbank)
        : m_anzeige(anzeige)
        , m_datenbank(std::move(datenbank))
    {
    }

    QString GetOpenDBName() override { return m_datenbank; }
    std::shared_ptr<ActViews> Views() override { return std::make_shared<Ansichten>(m_anzeige, m_datenbank); }
    QString GetVersion(std::int16_t) override { return u"Rufmon ACT!-Datenbankzugriff"_s; }
    std::int32_t Command(std::int32_t &) override { return 0; }
    void Show(bool sichtbar) override
    {
        if (sichtbar)
            m_anzeige.sichtbar();
    }

private:
    Kontaktanzeige &m_anzeige;
    QString m_datenbank;
};

} // namespace

ActDatenbankAdapter::ActDatenbankAdapter(SettingsStore &settings, Kontaktanzeige &anzeige)
    : m_settings(settings)
    , m_anzeige(anzeige)
{
}

QString ActDatenbankAdapter::Abschnitt()
{
    return u"ACT"_s;
}

QString ActDatenbankAdapter::Schluessel()
{
    return u"Datenbank"_s;
}

QString ActDatenbankAdapter::Datenbank() const
{
    return findeWieWindows(m_settings.GetSetting(Abschnitt(), Schluessel(), QString()).trimmed());
}

bool ActDatenbankAdapter::Hauptfenster(const QString &titeltext)
{
    // The "main window" of this ACT! is its database: there when the table is.
    return !titeltext.isEmpty() && !Datenbank().isEmpty();
}

std::shared_ptr<ActObjekt> ActDatenbankAdapter::ErstelleObjekt()
{
    const QString db = Datenbank();
    if (db.isEmpty())
        return nullptr;
    return std::make_shared<Objekt>(m_anzeige, db);
}

bool ActDatenbankAdapter::NachVorne(const QString &titeltext)
{
    if (!Hauptfenster(titeltext))
        return false;
    m_anzeige.nachVorne();
    return true;
}
