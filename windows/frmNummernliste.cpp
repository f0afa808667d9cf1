#include "windows/frmNummernliste.h"

#include "platform/dialogs/Dialogs.h"
#include "platform/jet/JetFehler.h"
#include "windows/NummernlisteModell.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QScopedValueRollback>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = u"\r\n"_s;

} // namespace

frmNummernliste::frmNummernliste(Dialogs &dialogs, std::shared_ptr<Database> db, QWidget *parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_db(std::move(db))
    , m_modell(std::make_unique<NummernlisteModell>(m_db))
    , m_dbgNummern(new QTableView(this))
    , m_cmOK(new QPushButton(u"OK"_s, this))
{
    setObjectName(u"frmNummernliste"_s);
    setWindowTitle(u"Rufmon Nummernliste"_s);
    m_dbgNummern->setObjectName(u"dbgNummern"_s);
    m_cmOK->setObjectName(u"cmOK"_s);
    m_cmOK->setAutoDefault(false);

    m_dbgNummern->setModel(m_modell.get());
    m_dbgNummern->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_dbgNummern->setSelectionMode(QAbstractItemView::SingleSelection);
    m_dbgNummern->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                  | QAbstractItemView::AnyKeyPressed);
    m_dbgNummern->horizontalHeader()->setStretchLastSection(true);
    m_dbgNummern->setColumnWidth(NummernlisteModell::Nummer, 140);
    m_dbgNummern->setColumnWidth(NummernlisteModell::Name, 200);
    m_dbgNummern->verticalHeader()->setDefaultSectionSize(m_dbgNummern->fontMetrics().height() + 8);
    m_dbgNummern->installEventFilter(this);

    auto *unten = new QHBoxLayout;
    unten->addStretch();
    unten->addWidget(m_cmOK);
    auto *spalte = new QVBoxLayout(this);
    spalte->addWidget(m_dbgNummern);
    spalte->addLayout(unten);
    resize(560, 380);

    connect(m_cmOK, &QPushButton::clicked, this, &frmNummernliste::cmOK_Click);
    connect(m_dbgNummern->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current, const QModelIndex &previous) {
                if (previous.isValid() && current.row() != previous.row())
                    zeileVerlassen(previous.row());
            });
}

frmNummernliste::~frmNummernliste()
{
    // The view lets go of the model before the model goes.
    m_dbgNummern->setModel(nullptr);
}

bool frmNummernliste::Form_Load()
{
    try {
        m_modell->laden();
    } catch (const JetFehler &e) {
        meldeFehler(u"Die Nummernliste konnte nicht gelesen werden."_s, e.Number(), e.Description());
        return false;
    }
    m_dbgNummern->setCurrentIndex(m_modell->index(0, 0));
    return true;
}

void frmNummernliste::meldeFehler(const QString &was, long nummer, const QString &beschreibung)
{
    m_dialogs.MsgBox(was + CRLF + u"Fehlernummer: "_s + QString::number(nummer) + CRLF + u"Fehlerbeschreibung: "_s
                         + beschreibung,
                     Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
}

bool frmNummernliste::ZeileSpeichern(int row)
{
    try {
        m_modell->speichern(row);
        return true;
    } catch (const JetFehler &e) {
        meldeFehler(u"Die Zeile konnte nicht gespeichert werden."_s, e.Number(), e.Description());
        return false;
    }
}

void frmNummernliste::ZeileLoeschen(int row)
{
    if (row < 0 || row >= m_modell->Anzahl())
        return;
    if (m_modell->istGespeichert(row)) {
        const auto antwort = m_dialogs.MsgBox(u"Wollen Sie die markierte Zeile wirklich löschen?"_s,
                                              Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                                              Dialogs::defaultTitle());
        if (antwort != Dialogs::Answer::Yes)
            return;
    }
    try {
        const QScopedValueRollback<bool> entfernen(m_entfernen, true);
        m_modell->loeschen(row);
    } catch (const JetFehler &e) {
        meldeFehler(u"Die Zeile konnte nicht gelöscht werden."_s, e.Number(), e.Description());
    }
}

void frmNummernliste::zeileVerlassen(int row)
{
    // A row being removed is left too (the view moves on while it goes): it
    // is neither saved nor removed a second time.
    if (m_zurueck || m_entfernen || row >= m_modell->Anzahl())
        return;
    if (m_modell->geaendert(row)) {
        if (!ZeileSpeichern(row)) {
            // Back to the row, so the user sees and mends what he typed.
            QTimer::singleShot(0, this, [this, row] { zeigeZeile(row); });
        }
    } else if (!m_modell->istGespeichert(row)) {
        // A new row left empty.
        const QScopedValueRollback<bool> entfernen(m_entfernen, true);
        m_modell->verwerfen(row);
    }
}

void frmNummernliste::zeigeZeile(int row)
{
    m_zurueck = true;
    const int spalte = std::max(0, m_dbgNummern->currentIndex().column());
    m_dbgNummern->setCurrentIndex(m_modell->index(row, spalte));
    m_zurueck = false;
}

void frmNummernliste::eingabeUebernehmen()
{
    // A cell still being typed into belongs to the row being saved.
    for (QWidget *w : m_dbgNummern->viewport()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QMetaObject::invokeMethod(m_dbgNummern, "commitData", Qt::DirectConnection, Q_ARG(QWidget *, w));
}

bool frmNummernliste::alleSpeichern()
{
    eingabeUebernehmen();
    for (int row = 0; row < m_modell->Anzahl(); ++row) {
        if (m_modell->geaendert(row) && !ZeileSpeichern(row)) {
            zeigeZeile(row);
            return false;
        }
    }
    return true;
}

void frmNummernliste::cmOK_Click()
{
    if (alleSpeichern())
        accept();
}

void frmNummernliste::reject()
{
    // Escape on a row with unsaved changes takes the changes back, as in a
    // data grid; otherwise it closes like the close box.
    const int row = m_dbgNummern->currentIndex().row();
    if (m_modell->geaendert(row)) {
        const QScopedValueRollback<bool> entfernen(m_entfernen, true);
        m_modell->verwerfen(row);
        return;
    }
    if (alleSpeichern())
        QDialog::reject();
}

void frmNummernliste::closeEvent(QCloseEvent *event)
{
    if (!alleSpeichern()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool frmNummernliste::eventFilter(QObject *watched, QEvent *event)
{
    // While a cell is typed into, its editor has the keys, not the grid.
    if (watched == m_dbgNummern && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        ZeileLoeschen(m_dbgNummern->currentIndex().row());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
