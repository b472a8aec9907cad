#pragma once

#include "../testfiles.h"

// The example document of the file and table tests: three rows (Key,
// Sample ID, Conc), keys 1 "Blank" and 2 "Std", sample 2 "Blank", "S-01".
inline Tessar::State exampleDocument(int wells = 24)
{
    Tessar::State state = newPlate(wells);
    state.numField = 3;
    state.fileDesc = QStringLiteral("Run 7");
    state.fieldName[1] = QStringLiteral("Sample ID");
    state.fieldName[2] = QStringLiteral("Conc");
    state.keyName[1] = QStringLiteral("Blank");
    state.keyName[2] = QStringLiteral("Std");
    state.sampleTable(2, 0) = QStringLiteral("Blank");
    state.sampleTable(2, 1) = QStringLiteral("S-01");
    return state;
}
