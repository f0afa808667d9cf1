#pragma once

class ACTBefehlsfenster;
class Desktop;
class clACTApplication;

// Starts ACT!'s timer for the contact just shown: runs ACT!'s timer command
// and clicks "Start" in the timer dialog that it opens — a second time when
// the button is still there after the first click. Nothing happens unless
// ACT! runs with a database and shows a contact view. The window is drawn
// between the steps.
void ACTTimerStarten(clACTApplication &act, Desktop &desktop, ACTBefehlsfenster &fenster);
