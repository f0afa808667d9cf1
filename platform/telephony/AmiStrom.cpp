#include "platform/telephony/AmiStrom.h"

#include <algorithm>
#include <utility>

AmiStrom::AmiStrom(qsizetype hoechstens)
    : m_hoechstens(hoechstens)
{
}

void AmiStrom::leeren()
{
    m_nachricht.clear();
    m_zeile.clear();
    m_begruessung = true;
    m_ueberspringen = false;
}

void AmiStrom::ohneBegruessung()
{
    m_begruessung = false;
}

std::optional<AmiStrom::Stueck> AmiStrom::weiter(QByteArrayView &data)
{
    while (!data.isEmpty()) {
        const qsizetype ende = data.indexOf('\n');
        const QByteArrayView teil = ende < 0 ? data : data.first(ende);
        data = ende < 0 ? QByteArrayView() : data.sliced(ende + 1);
        if (m_ueberspringen) {
            // Enough of the line to tell a blank one.
            m_zeile.append(teil.first(std::min<qsizetype>(teil.size(), 2 - std::min<qsizetype>(m_zeile.size(), 2))));
        } else {
            // One more byte for the CR of a CR LF ending.
            if (m_nachricht.size() + m_zeile.size() + teil.size() > m_hoechstens + 1) {
                m_nachricht.clear();
                m_zeile.clear();
                m_ueberspringen = true;
                if (ende < 0)
                    m_zeile = "--"; // the rest of this line is no blank line
                return Stueck{Art::ZuGross, {}};
            }
            m_zeile.append(teil);
        }
        if (ende < 0)
            return std::nullopt;
        if (auto stueck = zeileFertig())
            return stueck;
    }
    return std::nullopt;
}

std::optional<AmiStrom::Stueck> AmiStrom::zeileFertig()
{
    QByteArray zeile = std::exchange(m_zeile, {});
    if (zeile.endsWith('\r'))
        zeile.chop(1);
    if (m_ueberspringen) {
        // A blank line ends the message that was too long; a lone CR counts as blank.
        m_ueberspringen = !zeile.isEmpty();
        return std::nullopt;
    }
    if (m_begruessung) {
        if (zeile.isEmpty())
            return std::nullopt;
        m_begruessung = false;
        return Stueck{Art::Begruessung, std::move(zeile)};
    }
    if (zeile.isEmpty()) {
        if (m_nachricht.isEmpty())
            return std::nullopt;
        return Stueck{Art::Nachricht, std::exchange(m_nachricht, {})};
    }
    if (m_nachricht.size() + zeile.size() + 1 > m_hoechstens) {
        m_nachricht.clear();
        m_ueberspringen = true;
        return Stueck{Art::ZuGross, {}};
    }
    m_nachricht.append(zeile);
    m_nachricht.append('\n');
    return std::nullopt;
}
