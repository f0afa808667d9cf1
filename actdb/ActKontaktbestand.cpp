#include "actdb/ActKontaktbestand.h"

#include "actdb/Zeilenleser.h"
#include "actdb/clActDBF.h"
#include "platform/jet/DaoTyp.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/Recordset.h"

ActKontaktbestand::ActKontaktbestand(std::unique_ptr<clActDBF> dbf, const QStringList &telefonfelder)
    : m_dbf(std::move(dbf))
{
    const QString felder = telefonfelder.join(u',');
    // The statement tells the columns' sizes, and shows what is wrong when a
    // field cannot be read.
    m_quelle = m_dbf->Cachequelle(felder, false);
    if (!m_quelle) {
        m_fehler = QStringLiteral("Die Kontakte der ACT!-Datenbank können nicht gelesen werden.");
        return;
    }
    for (const Field &f : m_quelle->Fields())
        m_laengen.push_back(f.Type() == DaoTyp::dbText ? f.Size() : 0);
    m_texte.resize(m_laengen.size());
    m_werte.resize(m_laengen.size());
    try {
        // The same rows straight from the file where it can: a million contacts in seconds.
        m_direkt = m_dbf->Cachezeilen(felder, false);
        if (m_direkt) {
            m_anzahl = m_direkt->ungefaehreAnzahl();
        } else if (!(m_quelle->Eof() && m_quelle->RecordCount() == 0)) {
            m_quelle->MoveLast();
            m_anzahl = m_quelle->RecordCount();
            m_quelle->MoveFirst();
        }
    } catch (const JetFehler &e) {
        m_fehler = e.Description();
    }
}

ActKontaktbestand::~ActKontaktbestand()
{
    m_direkt.reset();
    if (m_quelle)
        m_quelle->Close();
    m_quelle.reset();
    m_dbf->kill();
}

const Kontaktbestand::Werte *ActKontaktbestand::naechster()
{
    if (!m_fehler.isEmpty())
        return nullptr;
    try {
        // The file's rows are the contacts' values as they are.
        if (m_direkt)
            return m_direkt->naechste();
        return ausDerAnweisung();
    } catch (const JetFehler &e) {
        m_fehler = e.Description();
        return nullptr;
    }
}

const Kontaktbestand::Werte *ActKontaktbestand::ausDerAnweisung()
{
    if (!m_erster)
        m_quelle->MoveNext();
    m_erster = false;
    if (m_quelle->Eof())
        return nullptr;
    const ::Fields &f = m_quelle->Fields();
    for (int i = 0; i < f.Count(); ++i) {
        const auto stelle = std::size_t(i);
        if (f[i].isNull()) {
            m_werte[stelle].reset();
            continue;
        }
        m_texte[stelle] = f[i].Text().toUtf8();
        m_werte[stelle] = std::string_view(m_texte[stelle].constData(), std::size_t(m_texte[stelle].size()));
    }
    return &m_werte;
}

QString ActKontaktbestand::fehler() const
{
    return m_fehler;
}

qint64 ActKontaktbestand::ungefaehreAnzahl() const
{
    return m_anzahl;
}

int ActKontaktbestand::laenge(std::size_t stelle) const
{
    return stelle < m_laengen.size() ? m_laengen[stelle] : 0;
}
