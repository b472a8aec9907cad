// Opens arbitrary bytes as a sample file and stops at the first input that
// breaks anything readProblems() checks.

#include "readcheck.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 1 << 20)
        return -1;
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    // The length picks the document the file is opened over, so every input
    // stays a plain file that the corpus test can replay as it is.
    const int start = int(size % Tessar::StartingStateCount);
    const QStringList problems = Tessar::readProblems(input, start);
    if (!problems.isEmpty()) {
        std::fprintf(stderr, "starting state %d:\n%s\n", start, qPrintable(problems.join(QLatin1Char('\n'))));
        std::abort();
    }
    return 0;
}
