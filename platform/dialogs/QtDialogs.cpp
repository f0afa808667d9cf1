#include "platform/dialogs/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

void QtDialogs::setParentWindow(QWidget *parent)
{
    m_parent = parent;
}

void QtDialogs::beenden()
{
    m_beenden = true;
    // Innermost first: each closes its own event loop, the one below it next.
    for (QWidget *w = QApplication::activeModalWidget(); w; w = QApplication::activeModalWidget()) {
        auto *dialog = qobject_cast<QDialog *>(w);
        if (!dialog)
            break;
        dialog->reject();
        dialog->hide();
    }
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QDialog *>(w); dialog && dialog->isVisible() && dialog->isModal())
            dialog->reject();
    }
}

Dialogs::Answer QtDialogs::MsgBox(const QString &text, Buttons buttons, Icon icon,
                                  const QString &title, bool systemModal)
{
    if (m_beenden)
        return cancelAnswer(buttons);
    QMessageBox box(m_parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    if (systemModal) {
        box.setWindowModality(Qt::ApplicationModal);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Ok: return Answer::Ok;
    default: break;
    }
    // Closed with the window's close box, or by the program's end: the escape answer.
    return cancelAnswer(buttons);
}

std::optional<QString> QtDialogs::InputBox(const QString &prompt, const QString &title,
                                           const QString &defaultText)
{
    if (m_beenden)
        return std::nullopt;
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal,
                                               defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtDialogs::PasswordBox(const QString &prompt, const QString &title)
{
    if (m_beenden)
        return std::nullopt;
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtDialogs::GetOpenFileName(const QString &title, const QString &directory,
                                   const QString &filter)
{
    if (m_beenden)
        return {};
    return QFileDialog::getOpenFileName(m_parent, title, directory, filter);
}
