#pragma once

#include "platform/desktop/Desktop.h"

class ActWahl;

// The desktop of the ACT! in use: Wine's while ACT! runs under Wine, else the
// X11 desktop, where programs outside Wine are worked.
class ActWahlDesktop : public Desktop
{
public:
    ActWahlDesktop(ActWahl &wahl, Desktop &x11, Desktop &wine);

    std::vector<Fenster> Hauptfenster() override { return d().Hauptfenster(); }
    std::vector<Fenster> Kindfenster(Fenster f) override { return d().Kindfenster(f); }
    QString Klasse(Fenster f) override { return d().Klasse(f); }
    QString Text(Fenster f) override { return d().Text(f); }
    std::optional<QString> Listenauswahl(Fenster f) override { return d().Listenauswahl(f); }
    bool Sichtbar(Fenster f) override { return d().Sichtbar(f); }
    Fenster Elternfenster(Fenster f) override { return d().Elternfenster(f); }
    Fenster Finde(const QString &klasse, const QString &text) override { return d().Finde(klasse, text); }
    void Klick(Fenster f) override { d().Klick(f); }
    bool Aktiviere(Fenster f) override { return d().Aktiviere(f); }
    void ImmerOben(Fenster f, bool an) override { d().ImmerOben(f, an); }
    bool Minimiert(Fenster f) override { return d().Minimiert(f); }
    void Minimiere(Fenster f) override { d().Minimiere(f); }
    void Wiederherstellen(Fenster f) override { d().Wiederherstellen(f); }
    std::size_t Tippe(const std::vector<Tastendruck> &tasten) override { return d().Tippe(tasten); }
    QString Tippfehler() const override;
    bool VomEigenenProgramm(Fenster f) override { return d().VomEigenenProgramm(f); }

private:
    Desktop &d();

    ActWahl &m_wahl;
    Desktop &m_x11;
    Desktop &m_wine;
};
