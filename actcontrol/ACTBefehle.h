#pragma once

#include <QObject>
#include <QString>

#include <optional>

struct Anruf;
class ACTBefehlsfenster;
class Anruferliste;

class ListViewModel;
class clACTApplication;

// Showing a caller's contact, or a similar contact, in ACT!.
class ACTBefehle : public QObject
{
    Q_OBJECT

public:
    ACTBefehle(clACTApplication &act, ACTBefehlsfenster &fenster, QObject *parent = nullptr);

    // `auswahl`: the selected call of the caller list, none when nothing is selected.
    void mnuACTAnzeigen(const Anruferliste &anrufe, const std::optional<Anruf> &auswahl);
    void mnuAehnlicheACTAnzeigen(const ListViewModel &lvKontakte, int auswahl);

signals:
    // ACT! was asked to show a contact (its timer may start for it).
    void KontaktGezeigt();

private:
    void zeige(const QString &tag);

    clACTApplication &m_act;
    ACTBefehlsfenster &m_fenster;
};
