#include "tools/actgen/ActRandom.h"

ActRandom::ActRandom(quint64 seed)
    : m_engine(mix(seed))
{
}

int ActRandom::below(int bound)
{
    // The bias of the modulo is far below anything sample data could show.
    return int(m_engine() % quint64(bound));
}

QString ActRandom::digits(int count, bool firstFromTwo)
{
    QString text(count, Qt::Uninitialized);
    for (int i = 0; i < count; ++i) {
        const int digit = i == 0 && firstFromTwo ? between(2, 9) : below(10);
        text[i] = QChar(u'0' + digit);
    }
    return text;
}

quint64 ActRandom::mix(quint64 value)
{
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}
