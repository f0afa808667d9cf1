#include "platform/telephony/ModemSeite.h"

#include "platform/telephony/Leitungseinrichtung.h"
#include "platform/telephony/ModemDevice.h"
#include "platform/telephony/ModemSuche.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::StringLiterals;

ModemSeite::ModemSeite(const QString &ordner, int warteMs, QWidget *parent)
    : Leitungsseite(parent)
    , m_liste(new QListWidget(this))
    , m_suchstand(new QLabel(this))
    , m_pfad(new QLineEdit(this))
    , m_pruefen(new QPushButton(u"&Modem prüfen"_s, this))
    , m_ergebnis(new QLabel(this))
{
    setObjectName(u"modemSeite"_s);
    m_pruefung.setWarteMs(warteMs);
    m_liste->setObjectName(u"schnittstellen"_s);
    m_suchstand->setObjectName(u"suchstand"_s);
    m_suchstand->setWordWrap(true);
    m_pfad->setObjectName(u"geraetedatei"_s);
    m_pfad->setPlaceholderText(u"/dev/ttyACM0"_s);
    m_pruefen->setObjectName(u"modemPruefen"_s);
    m_ergebnis->setObjectName(u"pruefung"_s);
    m_ergebnis->setWordWrap(true);
    m_ergebnis->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    auto *listeLabel = new QLabel(u"&Serielle Schnittstellen:"_s, this);
    listeLabel->setBuddy(m_liste);
    form->addRow(listeLabel);
    form->addRow(m_liste);
    form->addRow(m_suchstand);
    auto *pfadLabel = new QLabel(u"&Gerätedatei:"_s, this);
    pfadLabel->setBuddy(m_pfad);
    auto *pfadzeile = new QHBoxLayout;
    pfadzeile->addWidget(m_pfad, 1);
    pfadzeile->addWidget(m_pruefen);
    form->addRow(pfadLabel, pfadzeile);
    form->addRow(m_ergebnis);

    const QList<ModemSuche::Schnittstelle> gefunden = ModemSuche::schnittstellen(ordner);
    for (const ModemSuche::Schnittstelle &s : gefunden) {
        auto *eintrag = new QListWidgetItem(u"%1 (%2)"_s.arg(s.name, s.geraet), m_liste);
        eintrag->setData(Qt::UserRole, s.pfad);
        eintrag->setToolTip(s.pfad);
    }
    m_suchstand->setText(gefunden.isEmpty()
                             ? u"In %1 ist keine serielle Schnittstelle zu finden. Ist das Modem angeschlossen? Eine "
                               u"andere Schnittstelle tragen Sie unten ein."_s.arg(ordner)
                             : QString());
    m_suchstand->setVisible(gefunden.isEmpty());

    connect(m_liste, &QListWidget::currentItemChanged, this, &ModemSeite::gewaehlt);
    connect(m_pfad, &QLineEdit::textChanged, this, [this] {
        m_pruefen->setEnabled(!m_pfad->text().trimmed().isEmpty());
        emit geaendert();
    });
    connect(m_pfad, &QLineEdit::textEdited, this, [this] { m_ergebnis->clear(); });
    connect(m_pruefen, &QPushButton::clicked, this, &ModemSeite::pruefen);
    connect(&m_pruefung, &ModemPruefung::ergebnis, this, &ModemSeite::geprueft);
    m_pruefen->setEnabled(false);
}

bool ModemSeite::fertig() const
{
    const QString pfad = m_pfad->text().trimmed();
    return !pfad.isEmpty() && pfad == m_geprueft;
}

QString ModemSeite::speichern(Leitungseinrichtung &einrichtung)
{
    return fertig() ? einrichtung.modem(m_geprueft) : QString();
}

void ModemSeite::gewaehlt(QListWidgetItem *eintrag)
{
    if (!eintrag)
        return;
    m_pfad->setText(eintrag->data(Qt::UserRole).toString());
    pruefen();
}

void ModemSeite::pruefen()
{
    m_pruefend = m_pfad->text().trimmed();
    if (m_pruefend.isEmpty())
        return;
    m_geprueft.clear();
    m_ergebnis->setText(u"%1 wird gefragt …"_s.arg(m_pruefend));
    m_pruefen->setEnabled(false);
    emit geaendert();
    m_pruefung.pruefen(m_pruefend, ModemDevice::DefaultBaudRate);
}

void ModemSeite::geprueft(bool ok, const QString &grund)
{
    m_pruefen->setEnabled(!m_pfad->text().trimmed().isEmpty());
    if (ok) {
        m_geprueft = m_pruefend;
        m_ergebnis->setText(u"Das Modem an %1 antwortet."_s.arg(m_pruefend));
    } else {
        m_ergebnis->setText(grund);
    }
    emit geaendert();
}
