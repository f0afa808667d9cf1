#include "platform/telephony/WaehlregelnDialog.h"

#include "platform/settings/SettingsStore.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

using namespace Qt::StringLiterals;

namespace {

const QString Abschnitt = u"Waehlregeln"_s;

QString amtSchluessel(int standort)
{
    return u"Location%1/OutsideAccess"_s.arg(standort);
}

} // namespace

WaehlregelnDialog::WaehlregelnDialog(SettingsStore &settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_standort(new QSpinBox(this))
    , m_amt(new QLineEdit(this))
{
    setObjectName(u"WaehlregelnDialog"_s);
    setWindowTitle(u"Wählregeln"_s);
    m_standort->setObjectName(u"Standort"_s);
    m_amt->setObjectName(u"Amtskennziffer"_s);
    m_standort->setRange(1, 99);
    auto *form = new QFormLayout(this);
    form->addRow(u"&Standort:"_s, m_standort);
    form->addRow(u"Amts&kennziffer (für eine Amtsleitung vorwählen):"_s, m_amt);
    auto *knoepfe = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(knoepfe);
    connect(knoepfe, &QDialogButtonBox::accepted, this, [this] {
        speichern();
        accept();
    });
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);

    bool ok = false;
    const int aktuell = m_settings.GetSetting(Abschnitt, u"CurrentID"_s, u"1"_s).trimmed().toInt(&ok);
    m_standort->setValue(ok && aktuell > 0 ? aktuell : 1);
    zeigeStandort(m_standort->value());
    connect(m_standort, &QSpinBox::valueChanged, this, &WaehlregelnDialog::zeigeStandort);
}

void WaehlregelnDialog::zeigeStandort(int nummer)
{
    m_amt->setText(m_settings.GetSetting(Abschnitt, amtSchluessel(nummer), QString()));
}

void WaehlregelnDialog::speichern()
{
    m_settings.SaveSetting(Abschnitt, u"CurrentID"_s, QString::number(m_standort->value()));
    m_settings.SaveSetting(Abschnitt, amtSchluessel(m_standort->value()), m_amt->text().trimmed());
    m_settings.sync();
}
