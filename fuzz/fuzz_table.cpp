// Imports and pastes arbitrary bytes as a table and stops at the first input
// that breaks anything tableProblems() checks.

#include "readcheck.h"
#include "tablecheck.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 1 << 20)
        return -1;
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    // The length picks how the table arrives and the document it lands in,
    // so every input stays a plain file the test suite can replay.
    const int source = int(size % Tessar::TableSourceCount);
    const int start = int(size / Tessar::TableSourceCount % Tessar::StartingStateCount);
    const QStringList problems = Tessar::tableProblems(input, source, start);
    if (!problems.isEmpty()) {
        std::fprintf(stderr, "source %d, starting state %d:\n%s\n", source, start,
                     qPrintable(problems.join(QLatin1Char('\n'))));
        std::abort();
    }
    return 0;
}
