#include "team/TeamAnrufeModell.h"

#include "platform/registry/RegionalSettings.h"

using namespace Qt::StringLiterals;

void TeamAnrufeModell::setZeilen(const QList<Journalzeile> &zeilen)
{
    beginResetModel();
    m_zeilen = zeilen;
    endResetModel();
}

QString TeamAnrufeModell::ErgebnisText(const Journalzeile &z)
{
    if (!z.angenommen)
        return {};
    return *z.angenommen ? u"angenommen"_s : u"verpasst"_s;
}

QString TeamAnrufeModell::DauerText(int sekunden)
{
    if (sekunden < 0)
        return {};
    return u"%1:%2"_s.arg(sekunden / 60).arg(sekunden % 60, 2, 10, QChar(u'0'));
}

int TeamAnrufeModell::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_zeilen.size());
}

int TeamAnrufeModell::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Spalten;
}

QVariant TeamAnrufeModell::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Journalzeile &z = m_zeilen[index.row()];
    if (role == Qt::ToolTipRole) {
        QStringList zeilen{u"Leitung: "_s + z.leitung};
        if (z.nachgetragen)
            zeilen << u"Eingegangen, während Rufmon am Arbeitsplatz aus war"_s;
        if (!z.kontaktId.isEmpty())
            zeilen << u"Kontakt-ID: "_s + z.kontaktId;
        return zeilen.join(u'\n');
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Zeit: return RegionalSettings::DateTimeText(z.zeit);
    case Arbeitsplatz: return z.arbeitsplatz;
    case Nummer: return z.nummer;
    case Kontakt: return z.kontaktName;
    case Firma: return z.firma;
    case Ort: return z.ort;
    case Angerufen: return z.angerufen;
    case Ergebnis: return ErgebnisText(z);
    case Dauer: return DauerText(z.dauer);
    default: return {};
    }
}

QVariant TeamAnrufeModell::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QStringList titel{u"Zeit"_s, u"Arbeitsplatz"_s, u"Nummer"_s, u"Kontakt"_s, u"Firma"_s,
                                   u"Ort"_s, u"Angerufen"_s, u"Ergebnis"_s, u"Dauer"_s};
    return titel.value(section);
}
