#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// "Tapi-Informationen": what the current line device can do, and the
// record of the last incoming call, for the user and the support.
class frmTapiInfo : public QDialog
{
    Q_OBJECT

public:
    explicit frmTapiInfo(QWidget *parent = nullptr);

    // The text with CR LF line breaks, as the information is built.
    void setInfo(const QString &text);
    QString Info() const { return m_info; }

    QPlainTextEdit *txbInfo() const { return m_txbInfo; }
    QPushButton *cmdOK() const { return m_cmdOK; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_info;
    QPlainTextEdit *m_txbInfo;
    QPushButton *m_cmdOK;
};
