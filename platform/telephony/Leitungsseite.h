#pragma once

#include <QString>
#include <QWidget>

class Leitungseinrichtung;

// One kind of line in the window that adds a line: what the user chooses
// or types for it, and how it is written once the window is accepted.
class Leitungsseite : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Enough is given to add the line.
    virtual bool fertig() const = 0;
    // Writes the line; the name of its device, empty when it could not be written.
    virtual QString speichern(Leitungseinrichtung &einrichtung) = 0;

signals:
    // fertig() may have changed.
    void geaendert();
};
