// The part-model server module: its three classes, its type library and
// its exports. Registration first creates the converter component category
// that every converter server declares.
#include "CADMult.h"
#include "CADPart.h"
#include "CADPart2.h"
#include "HalcyraTypeLibrary.h"

#include "halcyra/HalcyraLib.h"

#include "com/server/Server.h"
#include "vlmrtsconvert/ComponentCategory.h"

BEGIN_OBJECT_MAP(ObjectMap)
    OBJECT_ENTRY(CLSID_CADPart, CCADPart)
    OBJECT_ENTRY(CLSID_CADPart2, CCADPart2)
    OBJECT_ENTRY(CLSID_CADMult, CCADMult)
END_OBJECT_MAP()

CComModule halcyraModule(ObjectMap);

TYPELIB_RESOURCE(1, halcyraTypeLibrary)

COMSERVER_EXPORT_CLASS_OBJECTS(halcyraModule)

// A category that cannot be created does not stop the registration.
COMSERVER_STDAPI DllRegisterServer()
{
    CreateComponentCategory(CATID_VelmoraCadConversion, kVelmoraCadConversionDescription);
    return halcyraModule.RegisterServer(TRUE);
}

// The category stays: the converters still name it.
COMSERVER_STDAPI DllUnregisterServer()
{
    return halcyraModule.UnregisterServer(TRUE);
}
