#include "platform/telephony/LeitungHinzufuegenDialog.h"

#include "platform/telephony/Leitungseinrichtung.h"
#include "platform/telephony/ModemSeite.h"
#include "platform/telephony/RouterSeite.h"
#include "platform/telephony/TelefonanlageSeite.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

LeitungHinzufuegenDialog::LeitungHinzufuegenDialog(SettingsStore &settings, Kennwortspeicher &kennwoerter,
                                                   const Suchorte &orte, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_kennwoerter(kennwoerter)
    , m_art(new QComboBox(this))
    , m_seiten(new QStackedWidget(this))
    , m_fehler(new QLabel(this))
{
    setWindowTitle(u"Leitung hinzufügen"_s);
    setObjectName(u"LeitungHinzufuegen"_s);
    m_art->setObjectName(u"art"_s);
    m_art->addItems({u"Router mit Anrufmonitor"_s, u"Telefonanlage (Asterisk)"_s, u"Modem mit Rufnummernanzeige"_s});
    m_fehler->setObjectName(u"fehler"_s);
    m_fehler->setWordWrap(true);
    m_fehler->hide();

    // In the order of the kinds in the box.
    m_seiten->addWidget(new RouterSeite(orte.ssdpZiel, orte.ssdpPort, orte.suchdauerMs, m_seiten));
    m_seiten->addWidget(new TelefonanlageSeite(kennwoerter, m_seiten));
    m_seiten->addWidget(new ModemSeite(orte.seriellOrdner, orte.atWarteMs, m_seiten));

    auto *knoepfe = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = knoepfe->button(QDialogButtonBox::Ok);
    auto *layout = new QVBoxLayout(this);
    auto *kopf = new QFormLayout;
    auto *artLabel = new QLabel(u"Art der &Leitung:"_s, this);
    artLabel->setBuddy(m_art);
    kopf->addRow(artLabel, m_art);
    layout->addLayout(kopf);
    layout->addWidget(m_seiten, 1);
    layout->addWidget(m_fehler);
    layout->addWidget(knoepfe);
    setMinimumWidth(fontMetrics().averageCharWidth() * 70);

    for (int i = 0; i < m_seiten->count(); ++i)
        connect(static_cast<Leitungsseite *>(m_seiten->widget(i)), &Leitungsseite::geaendert, this,
                &LeitungHinzufuegenDialog::pruefe);
    connect(m_art, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_seiten->setCurrentIndex(index);
        m_fehler->hide();
        pruefe();
    });
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);
    pruefe();
}

void LeitungHinzufuegenDialog::setArt(Art art)
{
    m_art->setCurrentIndex(static_cast<int>(art));
}

Leitungsseite *LeitungHinzufuegenDialog::Seite(Art art) const
{
    return static_cast<Leitungsseite *>(m_seiten->widget(static_cast<int>(art)));
}

void LeitungHinzufuegenDialog::pruefe()
{
    const auto *seite = static_cast<const Leitungsseite *>(m_seiten->currentWidget());
    m_ok->setEnabled(seite && seite->fertig());
}

void LeitungHinzufuegenDialog::accept()
{
    auto *seite = static_cast<Leitungsseite *>(m_seiten->currentWidget());
    if (!seite || !seite->fertig())
        return;
    Leitungseinrichtung einrichtung(m_settings, &m_kennwoerter);
    m_neu = seite->speichern(einrichtung);
    if (m_neu.isEmpty()) {
        m_fehler->setText(u"Die Leitung ließ sich nicht in die Einstellungen eintragen."_s);
        m_fehler->show();
        return;
    }
    QDialog::accept();
}
