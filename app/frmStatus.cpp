#include "app/frmStatus.h"

#include "app/clTaskbar.h"

#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int BannerFrames = 6;
constexpr int BannerIntervalMs = 500;

} // namespace

frmStatus::frmStatus(const SystemFacilities &system, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_system(system)
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

    for (int i = 1; i <= BannerFrames; ++i)
        m_ilBanner.Add(QString(), QIcon(u":/banner/banner_%1.svg"_s.arg(i, 2, 10, QChar(u'0'))));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_imBanner, 0, Qt::AlignHCenter);
    layout->addWidget(m_lbHauptInfo);
    layout->addWidget(m_lbInfo);
    setFixedSize(280, 130);

    clTaskbar(m_system).SnapFormTo(this);
    m_bild = 1;
    m_vorwaerts = true;
    zeigeBild();
    connect(&m_timer1, &QTimer::timeout, this, &frmStatus::Timer1_Timer);
    m_timer1.start(BannerIntervalMs);
}

frmStatus::~frmStatus()
{
    m_timer1.stop();
}

void frmStatus::setHauptInfo(const QString &text)
{
    m_lbHauptInfo->setText(text);
}

void frmStatus::setInfo(const QString &text)
{
    m_lbInfo->setText(text);
}

QString frmStatus::Info() const
{
    return m_lbInfo->text();
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
    m_imBanner->setPixmap(m_ilBanner.Picture(m_bild).pixmap(QSize(240, 40)));
}
