// The program's immediate end.
#include "wizard/ProgramEnd.h"

#include <cstdio>
#include <cstdlib>

void endProgram(int exitCode)
{
    std::fflush(nullptr);
    std::_Exit(exitCode);
}
