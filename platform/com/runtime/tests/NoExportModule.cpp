// A loadable module that is no server: it lacks DllGetClassObject.
#include "com/Export.h"

extern "C" COM_API int notAServer()
{
    return 0;
}
