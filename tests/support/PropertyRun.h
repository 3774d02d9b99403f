#pragma once
#include <QRandomGenerator>
#include <QtGlobal>

// The seed and number of cycles of a randomised test: a fresh seed unless
// BVL_PROPERTY_SEED gives one, and BVL_PROPERTY_CYCLES for more or fewer cycles. The
// seed is printed, so that a failing run can be repeated.
struct PropertyRun
{
    quint64 seed = 0;
    int cycles = 0;
};

inline PropertyRun PropertyRunFromEnvironment(const char *what, int defaultCycles)
{
    PropertyRun run;
    bool seedGiven = false;
    run.seed = qEnvironmentVariable("BVL_PROPERTY_SEED").toULongLong(&seedGiven);
    if (!seedGiven)
        run.seed = QRandomGenerator::global()->generate64();
    bool cyclesGiven = false;
    run.cycles = qEnvironmentVariableIntValue("BVL_PROPERTY_CYCLES", &cyclesGiven);
    if (!cyclesGiven || run.cycles < 1)
        run.cycles = defaultCycles;
    qInfo("%s seed %llu (set BVL_PROPERTY_SEED to repeat), %d cycles", what, run.seed, run.cycles);
    return run;
}
