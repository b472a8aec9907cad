#pragma once

#include <QFunctionPointer>
#include <QStringList>

namespace Tessar {

// The program's modules: parts built apart so that their libraries load only
// when first used. They are looked for in a folder named in
// TESSAR_MODULE_DIR (the test suite's programs live in folders of their
// own), beside the program (a build folder), and where an installation
// puts them.
QStringList moduleFolders();

// The entry `entryName` of the first module called `moduleName` found in
// those folders; null when there is none. A module once loaded stays.
QFunctionPointer moduleEntry(const char *moduleName, const char *entryName);

} // namespace Tessar
