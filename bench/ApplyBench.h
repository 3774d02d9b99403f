#pragma once
#include "GeneratedDocument.h"
#include "SyscallCounter.h"

#include <optional>

// `brimvale-cli apply` of a profile that changes every setting of a generated document
// (each takes the value of its neighbour in the generator's sequence), onto a fresh copy
// of the image each run: the journaled save of thousands of runs included.
struct ChangingApply
{
    double ms = 0;          // run as a function in this process, as the tests run it
    double processMs = 0;   // the program run as a process of its own: start-up included
    std::optional<SyscallCounts> calls;
};

ChangingApply MeasureChangingApply(const GeneratedDocument &doc, const QString &folder, int runs,
                                   SyscallCounter &counter);
