#pragma once

#include <QFunctionPointer>

namespace Tessar {

// The program's modules: parts built apart so that their libraries load only
// when first used. This is the entry `entryName` of the first module called
// `moduleName` found in a folder named in TESSAR_MODULE_DIR (the test
// suite's programs live in folders of their own), beside the program (a
// build folder), or where an installation puts it; null when there is none.
// A module once loaded stays.
QFunctionPointer moduleEntry(const char *moduleName, const char *entryName);

// What the entry `entryName` of the module, a function without arguments,
// hands out; null when there is no such module or entry.
template <typename T>
T *moduleObject(const char *moduleName, const char *entryName)
{
    using Entry = T *(*)();
    const auto entry = reinterpret_cast<Entry>(moduleEntry(moduleName, entryName));
    return entry ? entry() : nullptr;
}

} // namespace Tessar
