#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// Splits the byte stream of the Asterisk Manager Interface into its pieces:
// the greeting line a new connection starts with, then messages of
// "Name: Wert" lines that each end with a blank line (CR LF or LF alone).
// Blank lines between messages are skipped. A message longer than the limit
// is dropped whole, however many reads it spans, and only reported; nothing
// beyond the limit is held.
class AmiStrom
{
public:
    static constexpr qsizetype Hoechstens = 64 * 1024;

    enum class Art { Begruessung, Nachricht, ZuGross };
    struct Stueck
    {
        Art art = Art::Nachricht;
        QByteArray text; // the greeting line, or the message's lines each ended by LF; empty when ZuGross
    };

    explicit AmiStrom(qsizetype hoechstens = Hoechstens);

    // Takes from `data` up to the next completed piece and returns it;
    // nothing once `data` is used up without completing one.
    std::optional<Stueck> weiter(QByteArrayView &data);
    // A new connection: forgets what was unfinished and waits for a greeting.
    void leeren();
    // No greeting is waited for any longer: every line from here on belongs to
    // a message. A greeting that still comes is then a line without a colon,
    // which AmiNachricht skips.
    void ohneBegruessung();

private:
    std::optional<Stueck> zeileFertig();

    qsizetype m_hoechstens;
    QByteArray m_nachricht; // complete lines of the unfinished message
    QByteArray m_zeile;     // the unfinished line; while skipping, its first two bytes
    bool m_begruessung = true;
    bool m_ueberspringen = false; // inside an overlong message, up to its blank line
};
