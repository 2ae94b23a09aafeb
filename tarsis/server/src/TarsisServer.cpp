// The Tarsis server module: the part writer, the shape server and the mult
// writer, their type library and the module exports.
#include "MultWriter.h"
#include "PartWriter.h"
#include "ShapeServer.h"

BEGIN_OBJECT_MAP(ObjectMap)
    OBJECT_ENTRY(tarsis::CLSID_TarsisPartWriter, tarsis::CTarsisPartWriter)
    OBJECT_ENTRY(tarsis::CLSID_TarsisShapeServer, tarsis::CTarsisShapeServer)
    OBJECT_ENTRY(tarsis::CLSID_TarsisMultWriter, tarsis::CTarsisMultWriter)
END_OBJECT_MAP()

CComModule _Module(ObjectMap);

namespace {

const comserver::TypeLibrary& tarsisTypeLibrary()
{
    using namespace comserver;
    using namespace tarsis;
    static const TypeLibrary library{
        LIBID_TarsisLib,
        1,
        0,
        "TarsisLib",
        "Tarsis 1.0 Type Library",
        {partWriterInterface(), shapeServerInterface(), multWriterInterface()},
        {coClass(CLSID_TarsisPartWriter, "TarsisPartWriter", {IID_ITarsisPartWriter}),
         coClass(CLSID_TarsisShapeServer, "TarsisShapeServer", {IID_ITarsisShapeServer}),
         coClass(CLSID_TarsisMultWriter, "TarsisMultWriter", {IID_ITarsisMultWriter})}};
    return library;
}

} // namespace

TYPELIB_RESOURCE(1, tarsisTypeLibrary)

COMSERVER_EXPORTS(_Module)
