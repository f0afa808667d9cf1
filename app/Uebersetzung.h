#pragma once

class QCoreApplication;

// Loads Qt's own German texts, so that standard buttons read "Ja", "Nein"
// and "Abbrechen". True when the translation was found.
bool LadeQtUebersetzung(QCoreApplication &app);
