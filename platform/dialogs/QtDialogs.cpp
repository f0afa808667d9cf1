#include "platform/dialogs/QtDialogs.h"

#include "platform/dialogs/Frage.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

#include <algorithm>
#include <utility>

namespace {

// Wide enough for the title bar to show the title whole: the title in a
// bold face, as desktops set it, and room for the icon and the window
// buttons beside it. The desktop's own title font is not known here and is
// often a little larger; the room beside the title allows for that.
int titelbreite(const QString &titel, const QFont &schrift)
{
    QFont fett(schrift);
    fett.setBold(true);
    const QFontMetrics mass(fett);
    return mass.horizontalAdvance(titel) + 10 * mass.height();
}

// The ending a filter such as "vCard (*.vcf)" stands for; empty for none.
QString endungDesFilters(const QString &filter)
{
    static const QRegularExpression muster(QStringLiteral("\\*\\.(\\w+)"));
    const QRegularExpressionMatch treffer = muster.match(filter);
    return treffer.hasMatch() ? treffer.captured(1) : QString();
}

} // namespace

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
    // The questions that wait beside the program, with their escape answer.
    for (const QPointer<QMessageBox> &box : std::exchange(m_fragen, {})) {
        if (box)
            box->reject();
    }
}

Dialogs::Answer QtDialogs::MsgBox(const QString &text, Buttons buttons, Icon icon,
                                  const QString &title, bool systemModal)
{
    if (m_beenden)
        return cancelAnswer(buttons);
    QMessageBox box(m_parent);
    richteEin(box, text, buttons, icon, title);
    if (systemModal) {
        box.setWindowModality(Qt::ApplicationModal);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    box.exec();
    return antwort(box, buttons);
}

std::unique_ptr<Frage> QtDialogs::FrageStellen(const QString &text, Buttons buttons, Icon icon,
                                               const QString &title)
{
    if (m_beenden)
        return sofortBeantwortet(cancelAnswer(buttons));
    auto frage = std::make_unique<Frage>();
    auto *box = new QMessageBox(m_parent);
    richteEin(*box, text, buttons, icon, title);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    const QPointer<Frage> f = frage.get();
    // The user's click answers the question; an answer from outside, or a
    // handle dropped, closes the box.
    QObject::connect(box, &QMessageBox::finished, f, [f, box, buttons] {
        if (f)
            f->Schliessen(antwort(*box, buttons));
    });
    QObject::connect(f, &Frage::Beantwortet, box, [box] { box->close(); });
    QObject::connect(f, &QObject::destroyed, box, [box] { box->close(); });
    m_fragen.removeAll(nullptr);
    m_fragen.append(box);
    box->show();
    return frage;
}

void QtDialogs::richteEin(QMessageBox &box, const QString &text, Buttons buttons, Icon icon, const QString &title)
{
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
}

Dialogs::Answer QtDialogs::antwort(const QMessageBox &box, Buttons buttons)
{
    switch (box.standardButton(box.clickedButton())) {
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
    QInputDialog box(m_parent);
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    // The box keeps its own minimum; a size set now is what it opens with.
    const QSize passend = box.sizeHint();
    box.resize(std::max(passend.width(), titelbreite(title, box.font())), passend.height());
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
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

QString QtDialogs::GetSaveFileName(const QString &title, const QString &vorschlag, const QString &filter)
{
    if (m_beenden)
        return {};
    QFileDialog dialog(m_parent, title, vorschlag, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The suggestion's ending chooses the filter; a name typed without one gets the filter's.
    const QString endung = QFileInfo(vorschlag).suffix();
    for (const QString &f : dialog.nameFilters()) {
        if (!endung.isEmpty() && endungDesFilters(f).compare(endung, Qt::CaseInsensitive) == 0)
            dialog.selectNameFilter(f);
    }
    dialog.setDefaultSuffix(endungDesFilters(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString &f) { dialog.setDefaultSuffix(endungDesFilters(f)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
