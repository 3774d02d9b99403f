#pragma once
#include <QRandomGenerator>

// Seed and cycle count of a randomised test: a fresh seed, printed so that a failing run
// can be repeated with BVL_PROPERTY_SEED; BVL_PROPERTY_CYCLES for more or fewer cycles.
struct PropertyRun
{
    quint64 seed = 0;
    int cycles = 0;
};

inline PropertyRun PropertyRunFromEnvironment(const char *what, int defaultCycles)
{
    bool seedGiven = false, cyclesGiven = false;
    PropertyRun run{qEnvironmentVariable("BVL_PROPERTY_SEED").toULongLong(&seedGiven),
                    qEnvironmentVariableIntValue("BVL_PROPERTY_CYCLES", &cyclesGiven)};
    if (!seedGiven)
        run.seed = QRandomGenerator::global()->generate64();
    if (!cyclesGiven || run.cycles < 1)
        run.cycles = defaultCycles;
    qInfo("%s seed %llu (set BVL_PROPERTY_SEED to repeat), %d cycles", what, run.seed, run.cycles);
    return run;
}
