#pragma once

class QLineEdit;
class QString;

// The width a text field needs to show this text whole (its content or its
// placeholder) in the field's own font, frame and margins: measured from the
// text, not set in pixels that a larger font outgrows.
int Feldbreite(const QLineEdit &feld, const QString &text);
