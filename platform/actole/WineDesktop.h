#pragma once

#include "platform/desktop/Desktop.h"

class WineBruecke;

// The windows of the programs in the Wine prefix, as the bridge sees them
// inside Wine: Win32 classes and captions, child windows, posted clicks, and
// keys typed with SendInput (characters as Unicode, whatever the X keyboard
// layout). Windows come in Win32's order, topmost first. Keys go only to the
// window last brought to the front, and only while it is in the foreground.
class WineDesktop : public Desktop
{
public:
    explicit WineDesktop(WineBruecke &bruecke);

    // The top-level search of the program inside Wine.
    Fenster Suche(const QString &klasse, const QString &text);
    // ACT!'s three steps to the front.
    bool NachVorne(Fenster fenster);

    std::vector<Fenster> Hauptfenster() override;
    std::vector<Fenster> Kindfenster(Fenster fenster) override;
    QString Klasse(Fenster fenster) override;
    QString Text(Fenster fenster) override;
    std::optional<QString> Listenauswahl(Fenster fenster) override;
    bool Sichtbar(Fenster fenster) override;
    Fenster Elternfenster(Fenster fenster) override;
    Fenster Finde(const QString &klasse, const QString &text) override;
    void Klick(Fenster fenster) override;
    bool Aktiviere(Fenster fenster) override;
    void ImmerOben(Fenster fenster, bool an) override;
    bool Minimiert(Fenster fenster) override;
    void Minimiere(Fenster fenster) override;
    void Wiederherstellen(Fenster fenster) override;
    std::size_t Tippe(const std::vector<Tastendruck> &tasten) override;
    QString Tippfehler() const override { return m_tippfehler; }

private:
    QStringList frage(const QStringList &anfrage);
    Fenster fenster(const QStringList &anfrage);
    bool janein(const QStringList &anfrage);

    WineBruecke &m_bruecke;
    QString m_tippfehler;
};
