#include "actcontrol/modACTRunning.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int TextLaenge = 50;
// What a window's text fits in when another program asks for it.
constexpr int PufferLaenge = 99;

QString bisNull(QString text)
{
    if (const qsizetype null = text.indexOf(QChar(0)); null >= 0)
        text.truncate(null);
    return text;
}

bool passt(Desktop &desktop, Fenster fenster, const QString &text, const QString &Klasse, const QString &Text)
{
    if (!desktop.Sichtbar(fenster))
        return false;
    if (!desktop.Klasse(fenster).contains(Klasse, Qt::CaseInsensitive))
        return false;
    return Text == u"*"_s || text.contains(Text, Qt::CaseInsensitive);
}

} // namespace

namespace modACTRunning {

QString Fenstertitel(Desktop &desktop, Fenster fenster)
{
    QString text = desktop.Text(fenster);
    qsizetype anfang = 0;
    while (anfang < text.size() && text[anfang] == u' ')
        ++anfang;
    text = bisNull(text.mid(anfang)).left(TextLaenge);
    return text.isEmpty() ? u"NoText"_s : text;
}

QString Kindfenstertext(Desktop &desktop, Fenster fenster)
{
    const std::optional<QString> auswahl = desktop.Klasse(fenster).contains(u"listbox"_s, Qt::CaseInsensitive)
                                               ? desktop.Listenauswahl(fenster)
                                               : std::nullopt;
    const QString text = auswahl ? bisNull(*auswahl) : Puffertext(desktop, fenster);
    return text.isEmpty() ? u"NoText"_s : text.left(TextLaenge);
}

QString Puffertext(Desktop &desktop, Fenster fenster)
{
    return bisNull(desktop.Text(fenster).left(PufferLaenge));
}

Fenster SucheFenster(Desktop &desktop, const QString &Klasse, const QString &Text)
{
    Fenster gefunden = 0;
    for (const Fenster f : desktop.Hauptfenster()) {
        if (passt(desktop, f, Fenstertitel(desktop, f), Klasse, Text))
            gefunden = f;
    }
    return gefunden;
}

Fenster SucheKindfenster(Desktop &desktop, Fenster Elternfenster, const QString &Klasse, const QString &Text)
{
    Fenster gefunden = 0;
    for (const Fenster f : desktop.Kindfenster(Elternfenster)) {
        if (passt(desktop, f, Kindfenstertext(desktop, f), Klasse, Text))
            gefunden = f;
    }
    return gefunden;
}

Fenster Oberfenster(Desktop &desktop, Fenster fenster)
{
    // Bounded: a window tree that changes meanwhile must not hold us here.
    for (int tiefe = 0; fenster && tiefe < 64; ++tiefe) {
        const Fenster eltern = desktop.Elternfenster(fenster);
        if (!eltern)
            return fenster;
        fenster = eltern;
    }
    return fenster;
}

bool AktiviereFenster(Desktop &desktop, const QString &Titel)
{
    Fenster fenster = desktop.Finde(QString(), Titel);
    if (!fenster) {
        const std::vector<Fenster> alle = desktop.Hauptfenster();
        for (auto it = alle.rbegin(); it != alle.rend() && !fenster; ++it) {
            if (desktop.Sichtbar(*it) && desktop.Text(*it).startsWith(Titel, Qt::CaseInsensitive))
                fenster = *it;
        }
    }
    return fenster && desktop.Aktiviere(fenster);
}

Tastenfolge Tippe(Desktop &desktop, const QString &Tasten)
{
    Tastenfolge folge = Tastenfolge::lies(Tasten);
    const std::size_t getippt = desktop.Tippe(folge.tasten);
    if (getippt < folge.tasten.size()) {
        // Reported like a fault of the macro: where the typing stopped.
        folge.fehlerStelle = folge.tasten[getippt].stelle;
        folge.nichtGetippt = true;
        const QString grund = desktop.Tippfehler();
        folge.fehler = grund.isEmpty() ? u"zu viele verschiedene Zeichen, die die Tastatur nicht hat"_s : grund;
        folge.tasten.resize(getippt);
    }
    return folge;
}

} // namespace modACTRunning
