#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// Splits a call monitor's byte stream into lines (LF or CR LF), holding at
// most one unfinished line: a line longer than the limit is dropped whole,
// however many reads it spans, and only reported.
class CallMonitorStream
{
public:
    struct Stueck
    {
        bool zuLang = false;
        QByteArray zeile; // without its line end; empty when zuLang
    };

    explicit CallMonitorStream(qsizetype hoechstens);

    // Takes from `data` up to the next completed line (or overlong one) and
    // returns it; nothing once `data` is used up without completing one.
    std::optional<Stueck> weiter(QByteArrayView &data);
    // Forgets an unfinished line (a new connection starts afresh).
    void leeren();

private:
    qsizetype m_hoechstens;
    QByteArray m_line;
    bool m_skipping = false; // inside an overlong line, up to its end
};
