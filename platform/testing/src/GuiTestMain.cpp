// main() of a GUI test program that needs nothing more (see GuiTests.h).
#include "testing/GuiTests.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    return testsupport::runGuiTests(argc, argv, [] { return RUN_ALL_TESTS(); });
}
