#pragma once

#include <QList>
#include <QStringList>
#include <QtGlobal>

#include <cstdint>

// The soak's only source of chance. A seed gives the same numbers on every
// machine and every build, so a failing run is replayed exactly from its seed.
class SoakRandom
{
public:
    explicit SoakRandom(std::uint64_t seed = 0) : mState(seed) {}

    std::uint64_t next()
    {
        // splitmix64: small, fast and the same everywhere.
        std::uint64_t z = (mState += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    // 0 to n - 1; 0 when n < 1.
    int below(int n) { return n < 1 ? 0 : int(next() % std::uint64_t(n)); }
    // lo to hi, both included.
    int between(int lo, int hi) { return hi <= lo ? lo : lo + below(hi - lo + 1); }
    // True with probability `percent` / 100.
    bool chance(double percent) { return double(next() % 1000000) < percent * 10000.0; }

    template<typename T>
    const T &pick(const QList<T> &list) { return list.at(below(int(list.size()))); }

    // One of `weights.size()` choices, each as likely as its weight.
    int weighted(const QList<int> &weights)
    {
        int total = 0;
        for (int w : weights)
            total += w;
        int r = below(total);
        for (int i = 0; i < weights.size(); ++i) {
            if (r < weights[i])
                return i;
            r -= weights[i];
        }
        return int(weights.size()) - 1;
    }

    // Mostly what a user types; `odd` percent of the characters are ones a
    // keyboard can make that the program must refuse or keep as they are.
    QString text(int length, double odd)
    {
        static const QStringList odds = {
            QStringLiteral("\u00e9"), QStringLiteral("\u00df"), QStringLiteral("\""), QStringLiteral("\u20ac"), QStringLiteral("\u00b0"),
            QStringLiteral("\U0001F600"), QStringLiteral("\x7f"), QStringLiteral("\x01"), QStringLiteral("\x07"), QStringLiteral("\x1b"),
            QStringLiteral("\u0301"), QStringLiteral("\u00a0"), QStringLiteral("\t"), QStringLiteral("&"), QStringLiteral("'")};
        QString text;
        for (int i = 0; i < length; ++i)
            text += chance(odd) ? pick(odds) : QString(QChar(char16_t(between(0x20, 0x7e))));
        return text;
    }

private:
    std::uint64_t mState;
};
