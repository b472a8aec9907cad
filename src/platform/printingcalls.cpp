#include "platform/printingcalls.h"

#include "core/document/modules.h"

namespace Tessar {

namespace {

const PrintingCalls *linkedCalls = nullptr;

} // namespace

const PrintingCalls *printingCalls()
{
    if (linkedCalls)
        return linkedCalls;
    static const PrintingCalls *const loaded = []() -> const PrintingCalls * {
        using Entry = const PrintingCalls *(*)();
        const auto entry = reinterpret_cast<Entry>(moduleEntry(PrintingModuleName, PrintingEntryName));
        return entry ? entry() : nullptr;
    }();
    return loaded;
}

void useLinkedPrinting(const PrintingCalls *linked)
{
    linkedCalls = linked;
}

QString printingMissing()
{
    return QStringLiteral("The module %1, which prints and draws SVG files, was not found. Reinstall Tessar.")
        .arg(QLatin1String(PrintingModuleName));
}

} // namespace Tessar
