#include "windows/frmTapiInfo.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmTapiInfo::frmTapiInfo(QWidget *parent)
    : QDialog(parent)
    , m_txbInfo(new QPlainTextEdit(this))
    , m_cmdOK(new QPushButton(u"OK"_s, this))
{
    setObjectName(u"frmTapiInfo"_s);
    setWindowTitle(u"Tapi-Informationen"_s);
    m_txbInfo->setObjectName(u"txbInfo"_s);
    m_cmdOK->setObjectName(u"cmdOK"_s);
    m_txbInfo->setReadOnly(true);
    m_txbInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    // One tab reaches past the longest label, so the values line up.
    m_txbInfo->setTabStopDistance(m_txbInfo->fontMetrics().horizontalAdvance(u"Tapiversion:  "_s));

    auto *unten = new QHBoxLayout;
    unten->addStretch();
    unten->addWidget(m_cmdOK);
    unten->addStretch();
    auto *spalte = new QVBoxLayout(this);
    spalte->addWidget(m_txbInfo);
    spalte->addLayout(unten);
    resize(480, 420);

    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    // Escape closes when it is let go, wherever the focus is.
    m_txbInfo->installEventFilter(this);
    m_cmdOK->installEventFilter(this);
}

void frmTapiInfo::setInfo(const QString &text)
{
    m_info = text;
    QString anzeige = text;
    anzeige.replace(u"\r\n"_s, u"\n"_s);
    m_txbInfo->setPlainText(anzeige);
}

void frmTapiInfo::keyPressEvent(QKeyEvent *event)
{
    // Pressing Escape alone does not close; letting it go does.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmTapiInfo::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
        accept();
        return;
    }
    QDialog::keyReleaseEvent(event);
}

bool frmTapiInfo::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease || event->type() == QEvent::KeyPress) {
        auto *taste = static_cast<QKeyEvent *>(event);
        if (taste->key() == Qt::Key_Escape) {
            if (event->type() == QEvent::KeyRelease)
                keyReleaseEvent(taste);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
