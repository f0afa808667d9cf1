#include "windows/frmTelefonfelder.h"

#include "actdb/clActDBF.h"
#include "windows/ListView.h"
#include "windows/StatusPanel.h"
#include "windows/modListviewSort.h"
#include "core/modOptionen.h"
#include "platform/dialogs/Dialogs.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace {

// Design positions in pixels.
constexpr int Breite = 400;
constexpr int Rand = 8;
constexpr int ListeOben = 18;
constexpr int RahmenHoehe = 230;
constexpr int KnopfOben = RahmenHoehe + 2 * Rand;
constexpr int KnopfHoehe = 28;
constexpr int StatusOben = KnopfOben + KnopfHoehe + Rand;
constexpr int StatusHoehe = 22;
// What the list's frame and scroll bar take from its width.
constexpr int SpaltenAbzug = 24;

const QString Zaehltext = u"Bestimme Anzahl der Nummern..."_s;

} // namespace

// The sort pictures live in the program's static library; its resources
// must be registered by hand.
static void ladeBilderRessourcen()
{
    Q_INIT_RESOURCE(rufmon);
}

frmTelefonfelder::frmTelefonfelder(Dialogs &dialogs, modOptionen &optionen, clActDBF &actDBF,
                                   std::function<QString()> datenbankpfad, QWidget *parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_optionen(optionen)
    , m_actDBF(actDBF)
    , m_datenbankpfad(std::move(datenbankpfad))
{
    ladeBilderRessourcen();
    setObjectName(u"frmTelefonfelder"_s);
    setWindowTitle(u"Auswahl der Telefonfelder"_s);
    m_ilSortierung.Add(u"Leer"_s, QIcon(u":/icons/sort_leer.svg"_s));
    m_ilSortierung.Add(u"Hoch"_s, QIcon(u":/icons/sort_hoch.svg"_s));
    m_ilSortierung.Add(u"Runter"_s, QIcon(u":/icons/sort_runter.svg"_s));
    erstelleSteuerelemente();
    m_liste = std::make_unique<Telefonfeldliste>(m_lvTelefonfelder->Items());
    Form_Load();
}

frmTelefonfelder::~frmTelefonfelder()
{
    // The list outlives the image list while the window takes its children down.
    m_lvTelefonfelder->Items().setHeaderIcons(nullptr);
}

void frmTelefonfelder::erstelleSteuerelemente()
{
    setFixedSize(Breite, StatusOben + StatusHoehe);

    m_frTelefonfelder = new QGroupBox(u"Telefonfelder"_s, this);
    m_frTelefonfelder->setObjectName(u"frTelefonfelder"_s);
    m_frTelefonfelder->setGeometry(Rand, Rand, Breite - 2 * Rand, RahmenHoehe);

    m_lvTelefonfelder = new ListView(m_frTelefonfelder);
    m_lvTelefonfelder->setObjectName(u"lvTelefonfelder"_s);
    m_lvTelefonfelder->setGeometry(Rand, ListeOben, Breite - 4 * Rand, RahmenHoehe - ListeOben - Rand);
    ListViewModel &eintraege = m_lvTelefonfelder->Items();
    eintraege.setCheckable(true);
    eintraege.setHeaderIcons([this](const QString &key) { return QVariant(m_ilSortierung.Picture(key)); });
    eintraege.setColumns({{u"Telefonfeld"_s, u"ACT!-Telefonfeld"_s, {}}, {QString(), u"Nummern"_s, {}}});
    connect(m_lvTelefonfelder, &ListView::ColumnClick, this, &frmTelefonfelder::lvTelefonfelder_ColumnClick);
    connect(&eintraege, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                // Only a changed check box; the counts write the other columns.
                if (roles.contains(Qt::CheckStateRole))
                    lvTelefonfelder_ItemCheck();
            });

    m_cmdAnzahl = new QPushButton(u"&Nummernanzahl bestimmen"_s, this);
    m_cmdAnzahl->setObjectName(u"cmdAnzahl"_s);
    m_cmdAnzahl->setAutoDefault(false);
    m_cmdAnzahl->setGeometry(Rand, KnopfOben, 200, KnopfHoehe);
    connect(m_cmdAnzahl, &QPushButton::clicked, this, &frmTelefonfelder::cmdAnzahl_Click);

    m_cmdOK = new QPushButton(u"&OK"_s, this);
    m_cmdOK->setObjectName(u"cmdOK"_s);
    m_cmdOK->setDefault(true);
    m_cmdOK->setGeometry(Breite - Rand - 100, KnopfOben, 100, KnopfHoehe);
    connect(m_cmdOK, &QPushButton::clicked, this, &frmTelefonfelder::cmdOK_Click);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(u"StatusBar"_s);
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->setGeometry(0, StatusOben, Breite, StatusHoehe);
    m_panel1 = new StatusPanel(m_statusBar);
    m_panel1->setObjectName(u"Panel1"_s);
    // The one panel stretches over the whole bar.
    m_statusBar->addWidget(m_panel1, 1);
}

void frmTelefonfelder::Form_Load()
{
    const int spalte = (m_lvTelefonfelder->width() - SpaltenAbzug) / 2;
    m_lvTelefonfelder->setColumnWidth(0, spalte);
    m_lvTelefonfelder->setColumnWidth(1, spalte);
    modListviewSort::SortColumn(*m_lvTelefonfelder, m_lvTelefonfelder->Items().columnByKey(u"Telefonfeld"_s),
                                false);
}

void frmTelefonfelder::FelderSetzen(const std::vector<clACTFeld> &felder, const QString &ausschlussfelder)
{
    m_liste->FelderSetzen(felder, ausschlussfelder);
    // A sorted list keeps its order when entries come in.
    if (m_lvTelefonfelder->Sorted())
        m_lvTelefonfelder->sortByText();
}

QString frmTelefonfelder::AusgewaehlteFelder() const
{
    return m_liste->AusgewaehlteFelder();
}

QString frmTelefonfelder::Bezeichnung(const QString &feldname) const
{
    return m_liste->Bezeichnung(feldname);
}

QString frmTelefonfelder::Statustext() const
{
    return m_panel1->Text();
}

void frmTelefonfelder::setzeStatustext(const QString &text)
{
    m_panel1->setText(text);
    emit Statusmeldung(text);
}

void frmTelefonfelder::lvTelefonfelder_ColumnClick(int column)
{
    // While counting, the entries must stay where the query's fields are.
    if (m_zaehlt)
        return;
    modListviewSort::SortColumn(*m_lvTelefonfelder, column, true);
}

void frmTelefonfelder::lvTelefonfelder_ItemCheck()
{
    setzeStatustext(m_liste->Zusammenfassung());
}

void frmTelefonfelder::cmdAnzahl_Click()
{
    if (m_zaehlt)
        return;
    setzeStatustext(Zaehltext);
    if (!m_actDBF.init(m_datenbankpfad ? m_datenbankpfad() : QString()))
        return;

    m_zaehlt = true;
    m_cmdAnzahl->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
    m_liste->AnzahlenLeeren();

    const int felder = m_lvTelefonfelder->Items().Count();
    const std::optional<long> gezaehlt = m_liste->ZaehlenIn(m_actDBF, [this](long prozent) {
        setzeStatustext(Zaehltext + u" ("_s + QString::number(prozent) + u"%)"_s);
        QCoreApplication::processEvents();
    });
    if (!gezaehlt)
        m_dialogs.MsgBox(u"Fehler beim Abfragen der Telefonfolder"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation,
                         Dialogs::defaultTitle());
    const long gesamt = gezaehlt.value_or(0);
    m_actDBF.kill();
    QApplication::restoreOverrideCursor();
    m_cmdAnzahl->setEnabled(true);
    m_zaehlt = false;
    setzeStatustext(u' ' + QString::number(felder) + u" Telefonfelder"_s + u' ' + QString::number(gesamt)
                    + u" Nummern"_s);
}

void frmTelefonfelder::cmdOK_Click()
{
    m_optionen.schreibOption(u"Ausschlussfelder"_s, m_liste->Ausschlussfelder());
    hide();
}
