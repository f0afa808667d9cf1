#include "windows/frmAnrufeImTeam.h"

#include "team/TeamAnrufeModell.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmAnrufeImTeam::frmAnrufeImTeam(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_modell(std::make_unique<TeamAnrufeModell>())
{
    setObjectName(u"frmAnrufeImTeam"_s);
    setWindowTitle(u"Anrufe im Team"_s);
    setWindowIcon(QIcon(u":/icons/rufmon.svg"_s));
    resize(900, 480);

    auto *oben = new QHBoxLayout;
    auto *platzText = new QLabel(u"&Arbeitsplatz:"_s);
    m_arbeitsplatz = new QComboBox;
    m_arbeitsplatz->setObjectName(u"cbxArbeitsplatz"_s);
    m_arbeitsplatz->addItem(u"Alle"_s, QString());
    m_arbeitsplatz->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    platzText->setBuddy(m_arbeitsplatz);
    m_verpasst = new QCheckBox(u"Nur &verpasste"_s);
    m_verpasst->setObjectName(u"chkVerpasst"_s);
    auto *tageText = new QLabel(u"&Tage:"_s);
    m_tage = new QSpinBox;
    m_tage->setObjectName(u"txbTage"_s);
    m_tage->setRange(1, 90);
    m_tage->setValue(7);
    tageText->setBuddy(m_tage);
    auto *sucheText = new QLabel(u"&Suche:"_s);
    m_suche = new QLineEdit;
    m_suche->setObjectName(u"txbSuche"_s);
    m_suche->setClearButtonEnabled(true);
    m_suche->setPlaceholderText(u"Nummer, Name, Firma, Ort"_s);
    sucheText->setBuddy(m_suche);
    oben->addWidget(platzText);
    oben->addWidget(m_arbeitsplatz);
    oben->addSpacing(12);
    oben->addWidget(m_verpasst);
    oben->addSpacing(12);
    oben->addWidget(tageText);
    oben->addWidget(m_tage);
    oben->addSpacing(12);
    oben->addWidget(sucheText);
    oben->addWidget(m_suche, 1);

    m_liste = new QTableView;
    m_liste->setObjectName(u"lvTeamAnrufe"_s);
    m_liste->setModel(m_modell.get());
    m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_liste->verticalHeader()->hide();
    // One line a call, as in the caller list.
    m_liste->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_liste->setShowGrid(false);
    m_liste->setAlternatingRowColors(true);
    m_liste->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_liste->setWordWrap(false);

    m_zustand = new QLabel;
    m_zustand->setObjectName(u"lbZustand"_s);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(oben);
    layout->addWidget(m_liste, 1);
    layout->addWidget(m_zustand);

    m_verzoegerung.setSingleShot(true);
    m_verzoegerung.setInterval(200);
    connect(&m_verzoegerung, &QTimer::timeout, this, &frmAnrufeImTeam::fragen);
    const auto spaeter = [this] { m_verzoegerung.start(); };
    connect(m_arbeitsplatz, &QComboBox::currentIndexChanged, this, spaeter);
    connect(m_verpasst, &QCheckBox::toggled, this, spaeter);
    connect(m_tage, &QSpinBox::valueChanged, this, spaeter);
    connect(m_suche, &QLineEdit::textChanged, this, spaeter);
}

frmAnrufeImTeam::~frmAnrufeImTeam() = default;

Teamfilter frmAnrufeImTeam::Filter() const
{
    Teamfilter f;
    f.tage = m_tage->value();
    f.arbeitsplatz = m_arbeitsplatz->currentData().toString();
    f.nurVerpasste = m_verpasst->isChecked();
    f.suchtext = m_suche->text();
    return f;
}

void frmAnrufeImTeam::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    fragen();
}

void frmAnrufeImTeam::fragen()
{
    emit Abfrage(Filter());
}

void frmAnrufeImTeam::Neu()
{
    if (isVisible())
        m_verzoegerung.start();
}

void frmAnrufeImTeam::zeige(const QList<Journalzeile> &zeilen, const QStringList &arbeitsplaetze)
{
    m_modell->setZeilen(zeilen);
    // The desks as the journal knows them; the one chosen stays chosen.
    const QString gewaehlt = m_arbeitsplatz->currentData().toString();
    QStringList plaetze = arbeitsplaetze;
    if (!gewaehlt.isEmpty() && !plaetze.contains(gewaehlt))
        plaetze.append(gewaehlt);
    QStringList da;
    for (int i = 1; i < m_arbeitsplatz->count(); ++i)
        da.append(m_arbeitsplatz->itemData(i).toString());
    if (da != plaetze) {
        const QSignalBlocker still(m_arbeitsplatz);
        while (m_arbeitsplatz->count() > 1)
            m_arbeitsplatz->removeItem(1);
        for (const QString &p : std::as_const(plaetze))
            m_arbeitsplatz->addItem(p, p);
        m_arbeitsplatz->setCurrentIndex(std::max(0, m_arbeitsplatz->findData(gewaehlt)));
    }
    m_liste->resizeColumnsToContents();
}

void frmAnrufeImTeam::setZustand(bool, const QString &text)
{
    m_zustand->setText(text);
    m_zustand->setToolTip(text);
}
