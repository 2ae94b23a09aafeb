#include "ReaderFixture.h"
