#include "app/frmStatus.h"

#include "windows/Fensterplatz.h"
#include "windows/Zentrierung.h"

#include <QLabel>
#include <QVBoxLayout>


using namespace Qt::StringLiterals;

namespace {

constexpr int BannerFrames = 6;
constexpr int BannerIntervalMs = 500;
constexpr QSize BannerGroesse(240, 40);

} // namespace

frmStatus::frmStatus(QWidget *parent)
    // A title, but no buttons: it goes when its work is done.
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_lbHauptInfo(new QLabel(this))
    , m_lbInfo(new QLabel(this))
    , m_imBanner(new QLabel(this))
{
    setObjectName(u"frmStatus"_s);
    setWindowTitle(u"Rufmon - Status"_s);
    m_lbHauptInfo->setObjectName(u"lbHauptInfo"_s);
    m_lbInfo->setObjectName(u"lbInfo"_s);
    m_imBanner->setObjectName(u"imBanner"_s);
    m_timer1.setObjectName(u"Timer1"_s);

    QFont headline = m_lbHauptInfo->font();
    headline.setBold(true);
    headline.setPointSizeF(headline.pointSizeF() * 1.2);
    m_lbHauptInfo->setFont(headline);
    QFont small = m_lbInfo->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_lbInfo->setFont(small);
    for (QLabel *zeile : {m_lbHauptInfo, m_lbInfo})
        zeile->setTextFormat(Qt::PlainText);

    for (int i = 1; i <= BannerFrames; ++i)
        m_ilBanner.Add(QString(), QIcon(u":/banner/banner_%1.svg"_s.arg(i, 2, 10, QChar(u'0'))));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_imBanner, 0, Qt::AlignHCenter);
    layout->addWidget(m_lbHauptInfo);
    layout->addWidget(m_lbInfo);
    m_imBanner->setFixedSize(BannerGroesse);

    m_bild = 1;
    m_vorwaerts = true;
    zeigeBild();
    passeGroesseAn();
    m_zentrierung = new Zentrierung(this, parentWidget(), Zentrierung::Dauer::Immer);
    connect(&m_timer1, &QTimer::timeout, this, &frmStatus::Timer1_Timer);
    m_timer1.start(BannerIntervalMs);
}

frmStatus::~frmStatus()
{
    m_timer1.stop();
}

void frmStatus::setHauptInfo(const QString &text)
{
    m_hauptInfo = text;
    passeGroesseAn();
}

void frmStatus::setInfo(const QString &text)
{
    m_info = text;
    passeGroesseAn();
}

void frmStatus::passeGroesseAn()
{
    // Measured with the whole texts; shown, a text wider than the screen
    // allows loses its middle.
    m_lbHauptInfo->setText(m_hauptInfo);
    m_lbInfo->setText(m_info);
    layout()->invalidate();
    const QSize bedarf = layout()->sizeHint();
    const QSize hoechstens = Fensterplatz::Hoechstgroesse(this);
    const QSize neu = (isVisible() ? bedarf.expandedTo(size()) : bedarf).boundedTo(hoechstens);
    if (neu != size()) {
        setFixedSize(neu);
        if (m_zentrierung)
            m_zentrierung->zentrieren();
    }
    zeigeTexte();
}

void frmStatus::zeigeTexte()
{
    const QMargins rand = layout()->contentsMargins();
    const int breite = width() - rand.left() - rand.right();
    for (auto [zeile, text] : {std::pair{m_lbHauptInfo, &m_hauptInfo}, std::pair{m_lbInfo, &m_info}}) {
        const QString gezeigt = zeile->fontMetrics().elidedText(*text, Qt::ElideMiddle, breite);
        zeile->setText(gezeigt);
        zeile->setToolTip(gezeigt == *text ? QString() : *text);
    }
}

void frmStatus::Timer1_Timer()
{
    const int frames = m_ilBanner.Count();
    if (frames <= 1) {
        m_bild = 1;
    } else if (m_vorwaerts) {
        ++m_bild;
        if (m_bild >= frames)
            m_vorwaerts = false;
    } else {
        --m_bild;
        if (m_bild <= 1)
            m_vorwaerts = true;
    }
    zeigeBild();
}

void frmStatus::zeigeBild()
{
    m_imBanner->setPixmap(m_ilBanner.Picture(m_bild).pixmap(BannerGroesse));
}
