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
    // A module found stays; one missing is looked for again next time, so
    // that printing works once it is put back.
    static const PrintingCalls *loaded = nullptr;
    if (!loaded)
        loaded = moduleObject<const PrintingCalls>(PrintingModuleName, PrintingEntryName);
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
