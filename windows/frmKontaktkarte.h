#pragma once

#include "platform/actole/Kontaktanzeige.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;

// The contact card: ACT!'s contact view on Linux. It shows one contact of the
// ACT! database, every filled field under its ACT! label, read-only. Esc or
// its button closes it.
class frmKontaktkarte : public QWidget, public Kontaktanzeige
{
    Q_OBJECT

public:
    explicit frmKontaktkarte(QWidget *parent = nullptr);

    bool zeige(const QString &datenbank, const QString &id) override;
    QString aktuelleID() const override { return m_id; }
    void sichtbar() override;
    void nachVorne() override;

    // The rows shown: label and content.
    QList<QPair<QString, QString>> Zeilen() const;
    QString Meldung() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLabel *m_kopf;
    QTreeWidget *m_felder;
    QPushButton *m_cmdSchliessen;
    QString m_id;
};
