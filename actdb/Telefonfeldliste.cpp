#include "actdb/Telefonfeldliste.h"

#include "actdb/clActDBF.h"
#include "core/ListViewModel.h"
#include "core/modOptionen.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/Recordset.h"

#include <cmath>

using namespace Qt::StringLiterals;

Telefonfeldliste::Telefonfeldliste(ListViewModel &eintraege)
    : m_eintraege(eintraege)
{
}

QStringList Telefonfeldliste::Namensliste(const QString &ausschlussfelder)
{
    QStringList namen;
    for (const QString &teil : ausschlussfelder.split(u';')) {
        const QString name = teil.trimmed();
        if (!name.isEmpty())
            namen.append(name);
    }
    return namen;
}

void Telefonfeldliste::FelderSetzen(const std::vector<clACTFeld> &felder, const QString &ausschlussfelder)
{
    const QStringList ausgeschlossen = Namensliste(ausschlussfelder);
    std::vector<ListItem> eintraege;
    for (const clACTFeld &feld : felder) {
        if (feld.Feldart != clACTFeld::Telefonfeld)
            continue;
        ListItem item;
        item.Text = feld.Bezeichnung;
        item.Tag = feld.Feldname;
        item.Checked = !ausgeschlossen.contains(feld.Feldname, Qt::CaseSensitive);
        eintraege.push_back(std::move(item));
    }
    m_eintraege.Clear();
    m_eintraege.AddMany(std::move(eintraege));
}

QString Telefonfeldliste::AusgewaehlteFelder() const
{
    QStringList namen;
    for (int i = 0; i < m_eintraege.Count(); ++i) {
        if (m_eintraege.Item(i).Checked)
            namen.append(m_eintraege.Item(i).Tag);
    }
    return namen.join(u',');
}

QString Telefonfeldliste::Ausschlussfelder() const
{
    QString text;
    for (int i = 0; i < m_eintraege.Count(); ++i) {
        if (!m_eintraege.Item(i).Checked)
            text += m_eintraege.Item(i).Tag + u';';
    }
    return text;
}

QString Telefonfeldliste::AlleFelder() const
{
    QStringList namen;
    for (int i = 0; i < m_eintraege.Count(); ++i)
        namen.append(m_eintraege.Item(i).Tag);
    return namen.join(u',');
}

QString Telefonfeldliste::Bezeichnung(const QString &feldname) const
{
    for (int i = 0; i < m_eintraege.Count(); ++i) {
        if (m_eintraege.Item(i).Tag == feldname)
            return m_eintraege.Item(i).Text;
    }
    return QString();
}

QString Telefonfeldliste::Prozentzahl(double wert, const QLocale &locale)
{
    const long long hundertstel = std::llround(wert * 100);
    const long long ganze = hundertstel / 100;
    const int rest = static_cast<int>(hundertstel % 100);
    QString text = ganze > 0 ? QString::number(ganze) : QString();
    text += locale.decimalPoint();
    if (rest % 10 == 0) {
        if (rest != 0)
            text += QString::number(rest / 10);
    } else {
        text += u"%1"_s.arg(rest, 2, 10, QChar(u'0'));
    }
    return text;
}

QString Telefonfeldliste::Zusammenfassung(const QLocale &locale) const
{
    double gesamt = 0;
    double ausgewaehlt = 0;
    int angekreuzt = 0;
    for (int i = 0; i < m_eintraege.Count(); ++i) {
        const ListItem &item = m_eintraege.Item(i);
        const double anzahl = modOptionen::ZahlAusText(item.columnText(Anzahlspalte));
        gesamt += anzahl;
        if (item.Checked) {
            ausgewaehlt += anzahl;
            ++angekreuzt;
        }
    }
    QString text = u' ' + QString::number(angekreuzt) + u" von"_s + u' ' + QString::number(m_eintraege.Count())
                   + u" Feldern sind ausgewählt."_s;
    if (gesamt > 0)
        text += u" ("_s + Prozentzahl(ausgewaehlt / gesamt * 100, locale) + u"% aller Nummern)"_s;
    return text;
}

void Telefonfeldliste::AnzahlenLeeren()
{
    for (int i = 0; i < m_eintraege.Count(); ++i) {
        if (m_eintraege.Item(i).columnText(Anzahlspalte).isEmpty())
            continue;
        ListItem item = m_eintraege.Item(i);
        item.setColumnText(Anzahlspalte, QString());
        m_eintraege.setItem(i, item);
    }
}

void Telefonfeldliste::schreibeAnzahlen(const std::vector<long> &anzahl)
{
    for (int i = 0; i < static_cast<int>(anzahl.size()) && i < m_eintraege.Count(); ++i) {
        // A field without any value keeps its empty column.
        if (anzahl[i] == 0)
            continue;
        const QString text = u"%1"_s.arg(anzahl[i], 10);
        if (m_eintraege.Item(i).columnText(Anzahlspalte) == text)
            continue;
        ListItem item = m_eintraege.Item(i);
        item.setColumnText(Anzahlspalte, text);
        m_eintraege.setItem(i, item);
    }
}

long Telefonfeldliste::Zaehlen(Recordset &rs, const std::function<void(long prozent)> &fortschritt)
{
    const int felder = m_eintraege.Count();
    std::vector<long> anzahl(felder, 0);
    long gesamt = 0;
    if (rs.Eof())
        return 0;
    rs.MoveLast();
    const long datensaetze = rs.RecordCount();
    rs.MoveFirst();
    long nummer = 0;
    while (!rs.Eof()) {
        ++nummer;
        if (nummer % Fortschrittsschritt == 0) {
            // The list is written only where the user can see it, not for
            // every value: tables of many thousand contacts stay quick.
            schreibeAnzahlen(anzahl);
            if (fortschritt)
                fortschritt(nummer * 100 / datensaetze);
        }
        for (int i = 0; i < felder; ++i) {
            if (!rs.Fields()[i + 1].isNull()) {
                ++anzahl[i];
                ++gesamt;
            }
        }
        rs.MoveNext();
    }
    schreibeAnzahlen(anzahl);
    return gesamt;
}

std::optional<long> Telefonfeldliste::ZaehlenIn(clActDBF &tabelle, const std::function<void(long prozent)> &fortschritt)
{
    std::unique_ptr<Recordset> rs = tabelle.Suche(QStringLiteral("UNIQUE_ID"), AlleFelder(), QString(),
                                                  QStringLiteral("OR"), false);
    if (!rs)
        return std::nullopt;
    std::optional<long> gesamt;
    try {
        gesamt = Zaehlen(*rs, fortschritt);
    } catch (const JetFehler &) {
        // A table that breaks off while it is read counts as a failed query.
    }
    rs->Close();
    return gesamt;
}
