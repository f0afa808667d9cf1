#include "platform/telephony/LineDevice.h"

void LineDevice::setVerbindung(bool steht, const QString &grund)
{
    m_steht = steht;
    emit Verbindungszustand(steht, grund);
}
