// The import wizard's program: its one application object.
#include "wizard/QuillfenApp.h"

namespace {

CQuillfenApp theApp;

} // namespace

int main(int argc, char** argv)
{
    return AfxWinMain(argc, argv);
}
