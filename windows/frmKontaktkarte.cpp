#include "windows/frmKontaktkarte.h"

#include "actdb/ActKontaktkarte.h"
#include "windows/Fensterplatz.h"
#include "windows/Zentrierung.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmKontaktkarte::frmKontaktkarte(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_kopf(new QLabel(this))
    , m_felder(new QTreeWidget(this))
    , m_cmdSchliessen(new QPushButton(u"&Schließen"_s, this))
{
    setObjectName(u"frmKontaktkarte"_s);
    setWindowTitle(u"Rufmon - Kontakt"_s);
    m_kopf->setObjectName(u"lbKontakt"_s);
    m_felder->setObjectName(u"lvFelder"_s);
    m_felder->setColumnCount(2);
    m_felder->setHeaderLabels({u"Feld"_s, u"Inhalt"_s});
    m_felder->setRootIsDecorated(false);
    m_felder->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_cmdSchliessen->setObjectName(u"cmdSchliessen"_s);
    connect(m_cmdSchliessen, &QPushButton::clicked, this, &QWidget::close);
    auto *unten = new QHBoxLayout;
    unten->addStretch();
    unten->addWidget(m_cmdSchliessen);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_kopf);
    layout->addWidget(m_felder);
    layout->addLayout(unten);
    resize(QSize(420, 480).boundedTo(Fensterplatz::Hoechstgroesse(this)));
    // The first time in the middle of the screen; later where the user left it.
    new Zentrierung(this, nullptr, Zentrierung::Dauer::ErstesZeigen);
}

void frmKontaktkarte::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool frmKontaktkarte::zeige(const QString &datenbank, const QString &id)
{
    m_felder->clear();
    m_id.clear();
    const ActKontaktkarte karte = ActKontaktkarte::lies(datenbank, id);
    switch (karte.ergebnis) {
    case ActKontaktkarte::Ergebnis::Unbekannt:
        m_kopf->setText(u"Kein Kontakt mit der Kennung \"%1\"."_s.arg(id.trimmed()));
        return false;
    case ActKontaktkarte::Ergebnis::Unlesbar:
        m_kopf->setText(u"Die ACT!-Datenbank kann nicht gelesen werden: %1"_s.arg(karte.fehler));
        return false;
    case ActKontaktkarte::Ergebnis::Gelesen:
        break;
    }
    for (const auto &[label, wert] : karte.zeilen)
        new QTreeWidgetItem(m_felder, {label, wert});
    m_id = karte.id;
    m_kopf->setText(karte.name.isEmpty() ? m_id : karte.name);
    setWindowTitle(u"Rufmon - Kontakt: "_s + (karte.name.isEmpty() ? m_id : karte.name));
    return true;
}

void frmKontaktkarte::sichtbar()
{
    show();
}

void frmKontaktkarte::nachVorne()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

QList<QPair<QString, QString>> frmKontaktkarte::Zeilen() const
{
    QList<QPair<QString, QString>> z;
    for (int i = 0; i < m_felder->topLevelItemCount(); ++i)
        z.append({m_felder->topLevelItem(i)->text(0), m_felder->topLevelItem(i)->text(1)});
    return z;
}

QString frmKontaktkarte::Meldung() const
{
    return m_kopf->text();
}
