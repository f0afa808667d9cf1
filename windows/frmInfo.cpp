#include "windows/frmInfo.h"

#include "core/Handbuch.h"
#include "platform/system/SystemFacilities.h"
#include "platform/telephony/topTapi.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// A caption line over a larger line: a role and who fills it, or a library
// and its license.
struct Eintrag
{
    QString oben;
    QString unten;
};

const QString Bibliotheken = u"Verwendete Bibliotheken und Daten"_s;

const std::vector<Eintrag> &autoren()
{
    static const std::vector<Eintrag> e = {
        {u"Idee und Entwicklung"_s, u"Rufmon-Team"_s},
        {u"Telefonie und Leitungen"_s, u"Rufmon-Team"_s},
        {u"Datenbanken und ACT!-Anbindung"_s, u"Rufmon-Team"_s},
        {u"Oberfläche und Gestaltung"_s, u"Rufmon-Team"_s},
        {u"Test und Qualität"_s, u"Rufmon-Team"_s},
        {u"Vorwahlverzeichnis"_s, u"Rufmon-Team"_s},
    };
    return e;
}

const std::vector<Eintrag> &bibliotheken()
{
    static const std::vector<Eintrag> e = {
        {u"Qt"_s, u"LGPL-3.0"_s},
        {u"SQLite"_s, u"Public Domain"_s},
        {u"Vorwahlen: libphonenumber"_s, u"Apache-2.0"_s},
        {u"Ländernamen: Unicode CLDR"_s, u"Unicode-Lizenz"_s},
    };
    return e;
}

constexpr int Breite = 420;
constexpr int Hoehe = 320;
constexpr int Rand = 16;

} // namespace

frmInfo::frmInfo(const topTapi &tapi, SystemFacilities &system, QWidget *parent)
    : QDialog(parent)
    , m_tapi(tapi)
    , m_system(system)
    , m_lbVersion(new QLabel(this))
    , m_lbCopyright(new QLabel(this))
    , m_lbLink(new QLabel(this))
    , m_picScrollText(new QLabel(this))
{
    setObjectName(u"frmInfo"_s);
    setWindowTitle(u"Informationen über das Programm"_s);
    m_lbVersion->setObjectName(u"lbVersion"_s);
    m_lbCopyright->setObjectName(u"lbCopyright"_s);
    m_lbLink->setObjectName(u"lbLink"_s);
    m_picScrollText->setObjectName(u"picScrollText"_s);
    m_timer1.setObjectName(u"Timer1"_s);
    setFixedSize(Breite, Hoehe);

    const int innen = Breite - 2 * Rand;
    m_lbVersion->setGeometry(Rand, 12, innen, 22);
    QFont fett = m_lbVersion->font();
    fett.setBold(true);
    m_lbVersion->setFont(fett);
    m_lbCopyright->setGeometry(Rand, 36, innen, 36);
    m_picScrollText->setGeometry(Rand, 80, innen, 190);
    m_lbLink->setGeometry(Rand, 282, innen, 22);
    m_lbLink->setAlignment(Qt::AlignCenter);
    // The project has no web site: the link opens the manual page that comes
    // with the program, and its tip names the README beside it.
    m_lbLink->setText(u"Anleitung: man rufmon"_s);
    m_lbLink->setProperty("Tag", Handbuch::Adresse());
    m_lbLink->setToolTip(Handbuch::Hinweis());
    QPalette blau = m_lbLink->palette();
    blau.setColor(QPalette::WindowText, QColor(0, 0, 192));
    m_lbLink->setPalette(blau);

    // The pointer and the underline follow the mouse without a button held.
    setMouseTracking(true);
    m_lbLink->setMouseTracking(true);
    for (QLabel *l : {m_lbVersion, m_lbCopyright, m_lbLink, m_picScrollText}) {
        l->setTextFormat(Qt::PlainText);
        l->installEventFilter(this);
    }

    m_lbVersion->setText(
        u"Version %1.%2.%3"_s.arg(RUFMON_VERSION_MAJOR).arg(RUFMON_VERSION_MINOR).arg(RUFMON_VERSION_PATCH));
    m_lbCopyright->setText(u"Copyright © Rufmon-Team"_s + u"\n"_s + u"TopTapi: "_s + m_tapi.Version());
    m_position = 0;
    zeichneCredits();
    zeigeZeile();

    m_timer1.setInterval(Timer1Intervall);
    connect(&m_timer1, &QTimer::timeout, this, &frmInfo::Timer1_Timer);
}

QStringList frmInfo::Creditszeilen()
{
    QStringList zeilen;
    for (const Eintrag &e : autoren())
        zeilen << e.oben + u": "_s + e.unten;
    for (const Eintrag &e : bibliotheken())
        zeilen << e.oben + u" ("_s + e.unten + u')';
    return zeilen;
}

void frmInfo::zeichneCredits()
{
    const int w = m_picScrollText->width();
    const int h = m_picScrollText->height();
    QFont titel = font();
    titel.setPointSizeF(titel.pointSizeF() * 1.8);
    titel.setBold(true);
    QFont klein = font();
    klein.setPointSizeF(klein.pointSizeF() * 0.9);
    QFont gross = font();
    gross.setBold(true);
    QFont abschnitt = font();
    abschnitt.setPointSizeF(abschnitt.pointSizeF() * 1.2);
    abschnitt.setBold(true);

    const int zeileKlein = QFontMetrics(klein).height();
    const int zeileGross = QFontMetrics(gross).height();
    const int zeileTitel = QFontMetrics(titel).height();
    const int zeileAbschnitt = QFontMetrics(abschnitt).height();
    const int abstand = zeileGross / 2;
    const auto eintraege = [&](const std::vector<Eintrag> &liste) {
        return static_cast<int>(liste.size()) * (zeileKlein + zeileGross + abstand);
    };
    // After the last line a box of empty space, so the credits scroll out
    // completely before they start again.
    const int hoehe = 12 + zeileTitel + zeileGross + 2 * abstand + eintraege(autoren()) + abstand + zeileAbschnitt
        + abstand + eintraege(bibliotheken()) + zeileGross + abstand + h;

    m_credits = QPixmap(w, hoehe);
    QPainter p(&m_credits);
    QLinearGradient verlauf(0, 0, 0, hoehe);
    verlauf.setColorAt(0, QColor(222, 234, 250));
    verlauf.setColorAt(1, QColor(250, 252, 255));
    p.fillRect(m_credits.rect(), verlauf);

    int y = 12;
    const auto zeile = [&](const QString &text, const QFont &schrift, const QColor &farbe, int zeilenhoehe) {
        p.setFont(schrift);
        p.setPen(farbe);
        p.drawText(QRect(0, y, w, zeilenhoehe), Qt::AlignHCenter | Qt::AlignVCenter, text);
        y += zeilenhoehe;
    };
    const QColor dunkel(20, 40, 90);
    const QColor grau(90, 100, 120);
    zeile(u"Rufmon"_s, titel, dunkel, zeileTitel);
    zeile(u"Der Tapimonitor für ACT!"_s, font(), grau, zeileGross);
    y += 2 * abstand;
    for (const Eintrag &e : autoren()) {
        zeile(e.oben, klein, grau, zeileKlein);
        zeile(e.unten, gross, dunkel, zeileGross);
        y += abstand;
    }
    y += abstand;
    p.setPen(QColor(160, 175, 200));
    p.drawLine(w / 4, y - abstand, 3 * w / 4, y - abstand);
    zeile(Bibliotheken, abschnitt, dunkel, zeileAbschnitt);
    y += abstand;
    for (const Eintrag &e : bibliotheken()) {
        zeile(e.oben, gross, dunkel, zeileGross);
        zeile(e.unten, klein, grau, zeileKlein);
        y += abstand;
    }
    zeile(u"Vielen Dank!"_s, gross, dunkel, zeileGross);
}

void frmInfo::zeigeZeile()
{
    QPixmap bild(m_picScrollText->size());
    bild.fill(Qt::white);
    QPainter p(&bild);
    p.drawPixmap(0, 0, m_credits, 0, m_position, bild.width(), bild.height());
    p.end();
    m_picScrollText->setPixmap(bild);
}

void frmInfo::Timer1_Timer()
{
    zeigeZeile();
    ++m_position;
    if (m_position > m_credits.height() - m_picScrollText->height() - 1)
        m_position = 0;
}

void frmInfo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_timer1.start();
}

void frmInfo::hideEvent(QHideEvent *event)
{
    m_timer1.stop();
    QDialog::hideEvent(event);
}

void frmInfo::setLinkHervorgehoben(bool hervorgehoben)
{
    QFont f = m_lbLink->font();
    if (f.underline() == hervorgehoben)
        return;
    f.setUnderline(hervorgehoben);
    m_lbLink->setFont(f);
    if (hervorgehoben)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void frmInfo::lbLink_Click()
{
    // Whether a browser came up or not, the box has done its part.
    m_system.OpenUrl(QUrl(m_lbLink->property("Tag").toString()));
    close();
}

void frmInfo::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        close();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

void frmInfo::mouseMoveEvent(QMouseEvent *event)
{
    setLinkHervorgehoben(false);
    QDialog::mouseMoveEvent(event);
}

void frmInfo::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    // Every other key leaves the box as it is.
    event->accept();
}

bool frmInfo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lbLink) {
        switch (event->type()) {
        case QEvent::Enter:
            setLinkHervorgehoben(true);
            break;
        case QEvent::MouseMove:
            // Handled here: passed on, the window would take it for a move
            // outside the link.
            setLinkHervorgehoben(true);
            return true;
        case QEvent::Leave:
            setLinkHervorgehoben(false);
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
                lbLink_Click();
                return true;
            }
            break;
        default:
            break;
        }
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
