#pragma once

#include "telephony/AehnlicheNummern.h"
#include "telephony/Anrufauswertung.h"

#include <QTest>

// Lets what a test set going run to its end: an identification (with the
// connected number it takes up afterwards) or a similar-number search, whose
// searches answer from the search thread. At once when none runs; false
// when it did not end in time.
template<typename Teil> bool abwarten(const Teil &teil, int ms = 60000)
{
    return QTest::qWaitFor([&teil] { return !teil.laeuft(); }, ms);
}
