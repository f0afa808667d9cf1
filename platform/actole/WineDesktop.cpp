#include "platform/actole/WineDesktop.h"

#include "platform/actole/DiagnoseWine.h"
#include "platform/actole/WineBruecke.h"

using namespace Qt::StringLiterals;

namespace {

QString nummer(Fenster f)
{
    return QString::number(f);
}

} // namespace

WineDesktop::WineDesktop(WineBruecke &bruecke)
    : m_bruecke(bruecke)
{
}

QStringList WineDesktop::frage(const QStringList &anfrage)
{
    const auto a = m_bruecke.frage(anfrage);
    return a && a->ok ? a->werte : QStringList();
}

Fenster WineDesktop::fenster(const QStringList &anfrage)
{
    return frage(anfrage).value(0).toULongLong();
}

bool WineDesktop::janein(const QStringList &anfrage)
{
    return frage(anfrage).value(0) == u"1"_s;
}

Fenster WineDesktop::Suche(const QString &klasse, const QString &text)
{
    return fenster({u"SUCHE"_s, klasse, text});
}

bool WineDesktop::NachVorne(Fenster f)
{
    return f && janein({u"NACHVORNE"_s, nummer(f)});
}

std::vector<Fenster> WineDesktop::Hauptfenster()
{
    std::vector<Fenster> liste;
    for (const QString &f : frage({u"FENSTER"_s}))
        liste.push_back(f.toULongLong());
    return liste;
}

std::vector<Fenster> WineDesktop::Kindfenster(Fenster f)
{
    std::vector<Fenster> liste;
    if (!f)
        return liste;
    for (const QString &k : frage({u"KINDER"_s, nummer(f)}))
        liste.push_back(k.toULongLong());
    return liste;
}

QString WineDesktop::Klasse(Fenster f)
{
    return f ? frage({u"KLASSE"_s, nummer(f)}).value(0) : QString();
}

QString WineDesktop::Text(Fenster f)
{
    return f ? frage({u"TEXT"_s, nummer(f)}).value(0) : QString();
}

std::optional<QString> WineDesktop::Listenauswahl(Fenster f)
{
    const QStringList a = f ? frage({u"LISTE"_s, nummer(f)}) : QStringList();
    if (a.value(0) != u"1"_s)
        return std::nullopt;
    return a.value(1);
}

bool WineDesktop::Sichtbar(Fenster f)
{
    return f && janein({u"SICHTBAR"_s, nummer(f)});
}

Fenster WineDesktop::Elternfenster(Fenster f)
{
    return f ? fenster({u"ELTERN"_s, nummer(f)}) : 0;
}

Fenster WineDesktop::Finde(const QString &klasse, const QString &text)
{
    return fenster({u"FINDE"_s, klasse, text});
}

void WineDesktop::Klick(Fenster f)
{
    if (f)
        frage({u"KLICK"_s, nummer(f)});
}

bool WineDesktop::Aktiviere(Fenster f)
{
    return f && janein({u"AKTIVIERE"_s, nummer(f)});
}

void WineDesktop::ImmerOben(Fenster f, bool an)
{
    if (f)
        frage({u"OBEN"_s, nummer(f), an ? u"1"_s : u"0"_s});
}

bool WineDesktop::Minimiert(Fenster f)
{
    return f && janein({u"MINIMIERT"_s, nummer(f)});
}

void WineDesktop::Minimiere(Fenster f)
{
    if (f)
        frage({u"MINIMIERE"_s, nummer(f)});
}

void WineDesktop::Wiederherstellen(Fenster f)
{
    if (f)
        frage({u"WIEDERHER"_s, nummer(f)});
}

std::size_t WineDesktop::Tippe(const std::vector<Tastendruck> &tasten)
{
    m_tippfehler.clear();
    if (tasten.empty())
        return 0;
    QStringList anfrage{u"TIPPE"_s};
    for (const Tastendruck &t : tasten) {
        const int umschalter = (t.shift ? 1 : 0) | (t.strg ? 2 : 0) | (t.alt ? 4 : 0);
        anfrage << QString::number(int(t.taste)) + u',' + QString::number(quint32(t.zeichen)) + u','
                       + QString::number(umschalter);
    }
    const auto a = m_bruecke.frage(anfrage);
    if (!a || !a->ok) {
        m_tippfehler = u"ACT! unter Wine antwortet nicht"_s;
        qCWarning(lcWine) << "Tippen:" << m_tippfehler;
        return 0;
    }
    const std::size_t getippt = std::min<std::size_t>(a->werte.value(0).toULongLong(), tasten.size());
    if (getippt < tasten.size()) {
        m_tippfehler = a->werte.value(1);
        qCWarning(lcWine) << "Tippen nach" << getippt << "von" << tasten.size() << "Tasten beendet:" << m_tippfehler;
    }
    return getippt;
}
