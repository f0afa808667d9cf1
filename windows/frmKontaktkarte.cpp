#include "windows/frmKontaktkarte.h"

#include "actdb/ActPfad.h"
#include "actdb/Felddefinitionen.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
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
    const ActPfad pfad(datenbank);
    const QString gesucht = id.trimmed();
    try {
        auto db = DBEngine::instance().OpenDatabase(pfad.Ordner(), false, true, u"FoxPro 2.6;"_s);
        auto rs = db->OpenRecordset(u"SELECT * FROM ["_s + pfad.Tabellenname() + u"] WHERE UNIQUE_ID = ?"_s, {gesucht});
        if (rs->Eof()) {
            m_kopf->setText(u"Kein Kontakt mit der Kennung \"%1\"."_s.arg(gesucht));
            return false;
        }
        QStringList spalten;
        for (const Field &f : rs->Fields())
            spalten.append(f.Name());
        // Labels from the definition file; a column it does not name shows its name.
        QHash<QString, Felddefinitionen::Eintrag> labels;
        try {
            labels = Felddefinitionen::lies(pfad.Ordner() + u'/' + pfad.Tabellenname() + u".ddf"_s)
                         .Kontaktfelder(spalten);
        } catch (const Felddefinitionen::Fehler &) {
        }
        for (const Field &f : rs->Fields()) {
            if (f.isNull() || f.Text().trimmed().isEmpty())
                continue;
            const QString label = labels.value(f.Name()).Bezeichnung;
            new QTreeWidgetItem(m_felder, {label.isEmpty() ? f.Name() : label, f.Text()});
        }
        m_id = rs->Fields()[u"UNIQUE_ID"_s].Text();
        const QString name = rs->Fields().indexOf(u"NAME"_s) >= 0 ? rs->Fields()[u"NAME"_s].Text() : QString();
        m_kopf->setText(name.isEmpty() ? m_id : name);
        setWindowTitle(u"Rufmon - Kontakt: "_s + (name.isEmpty() ? m_id : name));
        rs->Close();
        db->Close();
        return true;
    } catch (const JetFehler &e) {
        m_kopf->setText(u"Die ACT!-Datenbank kann nicht gelesen werden: %1"_s.arg(e.Description()));
        return false;
    }
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
