#include "windows/frmProtokoll.h"

#include "platform/system/SystemFacilities.h"
#include "telephony/Telefonieprotokollzeile.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Design sizes in pixels for the design font.
constexpr int Rand = 8; // left and top edge of the text box
constexpr int KnopfBreite = 81;
constexpr int KnopfHoehe = 25;

} // namespace

frmProtokoll::frmProtokoll(const SystemFacilities &system, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_system(system)
    , m_mass(font(), system.TwipsPerPixelX())
    , m_uhr([] { return QDateTime::currentDateTime(); })
    , m_txbProtokoll(new QPlainTextEdit(this))
    , m_cmdReset(new QPushButton(u"&Löschen"_s, this))
    , m_cmdClose(new QPushButton(u"&Beenden"_s, this))
{
    setObjectName(u"frmProtokoll"_s);
    setWindowTitle(u"Rufmon - Tapi-Protokoll"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    m_txbProtokoll->setObjectName(u"txbProtokoll"_s);
    m_cmdReset->setObjectName(u"cmdReset"_s);
    m_cmdClose->setObjectName(u"cmdClose"_s);

    m_txbProtokoll->setReadOnly(true);
    m_txbProtokoll->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The empty first line counts as one of the kept lines until it is dropped.
    m_txbProtokoll->setMaximumBlockCount(MaxZeilen);
    m_txbProtokoll->move(m_mass.px(Rand), m_mass.px(Rand));
    m_cmdReset->resize(m_mass.px(KnopfBreite), m_mass.px(KnopfHoehe));
    m_cmdClose->resize(m_mass.px(KnopfBreite), m_mass.px(KnopfHoehe));

    connect(m_cmdReset, &QPushButton::clicked, this, &frmProtokoll::cmdReset_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);

    setMinimumSize(mindestPixelX(), mindestPixelY());
    resize(mindestPixelX(), mindestPixelY());
    Form_Resize();
}

int frmProtokoll::mindestPixelX() const
{
    return static_cast<int>(std::ceil(m_mass.twips(MindestBreite) / m_system.TwipsPerPixelX()));
}

int frmProtokoll::mindestPixelY() const
{
    return static_cast<int>(std::ceil(m_mass.twips(MindestHoehe) / m_system.TwipsPerPixelY()));
}

void frmProtokoll::PrintProtokoll(const QString &ereignis, const QString &werte)
{
    // The line starts with its line break; the document's own line breaks
    // are paragraphs, so the CR of CR LF is left out.
    QString zeile = Telefonieprotokollzeile(ereignis, werte, m_uhr());
    zeile.replace(u"\r\n"_s, u"\n"_s);
    // Appending begins a new paragraph itself, except in an empty log, and
    // follows the newest line unless the user reads further up. It leaves
    // the view at the start of the lines: the end of a long line says little
    // without its time and event.
    if (!m_txbProtokoll->document()->isEmpty() && zeile.startsWith(u'\n'))
        zeile.remove(0, 1);
    m_txbProtokoll->appendPlainText(zeile);
}

QString frmProtokoll::Text() const
{
    QString text = m_txbProtokoll->toPlainText();
    text.replace(u'\n', u"\r\n"_s);
    return text;
}

void frmProtokoll::cmdReset_Click()
{
    m_txbProtokoll->clear();
}

void frmProtokoll::Form_Resize()
{
    if (width() < mindestPixelX()) {
        // The resize that follows lays the window out.
        resize(mindestPixelX(), height());
        return;
    }
    if (height() < mindestPixelY())
        resize(width(), mindestPixelY());
    const int W = width();
    const int H = height();
    const int links = m_txbProtokoll->x();
    const int oben = m_txbProtokoll->y();
    const int knopf = m_cmdReset->height();
    m_txbProtokoll->resize(std::max(0, W - 2 * links), std::max(0, H - oben - 3 * knopf));
    const int knopfOben = H - oben - knopf;
    m_cmdReset->move(W / 3 - m_cmdReset->width(), knopfOben);
    m_cmdClose->move(2 * W / 3, knopfOben);
}

void frmProtokoll::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmProtokoll::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit Geschlossen();
}
