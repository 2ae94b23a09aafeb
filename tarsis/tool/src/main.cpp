// The `tarsis` program.
#include "tarsis/TarsisTool.h"

#include <iostream>

int main(int argc, char** argv)
{
    return tarsis::runTarsisTool(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                 std::cerr);
}
