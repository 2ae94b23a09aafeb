// The part objects call the Tarsis servers through their own copy of the
// servers' identities (src/TarsisServers.h), so that the part model does not
// depend on the stand-in. The copy must say what the stand-in serves
// (tarsis/TarsisServers.h): every class ID, interface ID and DISPID.
#include "TarsisServers.h"

#include "tarsis/TarsisServers.h"

#include "com/Guid.h"

#include <gtest/gtest.h>

namespace {

TEST(TarsisServers, PartModelCopyMatchesTheServersIds)
{
    struct Id {
        const char* name;
        GUID partModel;
        GUID server;
    };
    const Id ids[] = {
        {"CLSID_TarsisPartWriter", CLSID_TarsisPartWriter, tarsis::CLSID_TarsisPartWriter},
        {"CLSID_TarsisShapeServer", CLSID_TarsisShapeServer, tarsis::CLSID_TarsisShapeServer},
        {"CLSID_TarsisMultWriter", CLSID_TarsisMultWriter, tarsis::CLSID_TarsisMultWriter},
        {"IID_ITarsisPartWriter", IID_ITarsisPartWriter, tarsis::IID_ITarsisPartWriter},
        {"IID_ITarsisShapeServer", IID_ITarsisShapeServer, tarsis::IID_ITarsisShapeServer},
        {"IID_ITarsisMultWriter", IID_ITarsisMultWriter, tarsis::IID_ITarsisMultWriter},
    };
    for (const Id& id : ids)
        EXPECT_EQ(guidToString(id.partModel), guidToString(id.server)) << id.name;
}

TEST(TarsisServers, PartModelCopyMatchesTheServersDispids)
{
    namespace pw = tarsis_part_writer;
    namespace spw = tarsis::partwriter;
    namespace mw = tarsis_mult_writer;
    namespace smw = tarsis::multwriter;
    struct Dispid {
        const char* name;
        DISPID partModel;
        DISPID server;
    };
    const Dispid dispids[] = {
        {"CreatePart", pw::CreatePart, spw::CreatePart},
        {"SetRefPlane", pw::SetRefPlane, spw::SetRefPlane},
        {"SavePart", pw::SavePart, spw::SavePart},
        {"AddWebHole", pw::AddWebHole, spw::AddWebHole},
        {"AddWebMark", pw::AddWebMark, spw::AddWebMark},
        {"AddTFNearHole", pw::AddTFNearHole, spw::AddTFNearHole},
        {"AddTFNearMark", pw::AddTFNearMark, spw::AddTFNearMark},
        {"AddTFFarHole", pw::AddTFFarHole, spw::AddTFFarHole},
        {"AddTFFarMark", pw::AddTFFarMark, spw::AddTFFarMark},
        {"AddTFNearFarHole", pw::AddTFNearFarHole, spw::AddTFNearFarHole},
        {"AddTFNearFarMark", pw::AddTFNearFarMark, spw::AddTFNearFarMark},
        {"AddBFNearHole", pw::AddBFNearHole, spw::AddBFNearHole},
        {"AddBFNearMark", pw::AddBFNearMark, spw::AddBFNearMark},
        {"AddBFFarHole", pw::AddBFFarHole, spw::AddBFFarHole},
        {"AddBFFarMark", pw::AddBFFarMark, spw::AddBFFarMark},
        {"AddBFNearFarHole", pw::AddBFNearFarHole, spw::AddBFNearFarHole},
        {"AddBFNearFarMark", pw::AddBFNearFarMark, spw::AddBFNearFarMark},
        {"AddWebHiddenMark", pw::AddWebHiddenMark, spw::AddWebHiddenMark},
        {"AddWeb2Hole", pw::AddWeb2Hole, spw::AddWeb2Hole},
        {"AddWebHoleEx", pw::AddWebHoleEx, spw::AddWebHoleEx},
        {"AddTFNearHoleEx", pw::AddTFNearHoleEx, spw::AddTFNearHoleEx},
        {"AddTFFarHoleEx", pw::AddTFFarHoleEx, spw::AddTFFarHoleEx},
        {"AddTFNearFarHoleEx", pw::AddTFNearFarHoleEx, spw::AddTFNearFarHoleEx},
        {"AddBFNearHoleEx", pw::AddBFNearHoleEx, spw::AddBFNearHoleEx},
        {"AddBFFarHoleEx", pw::AddBFFarHoleEx, spw::AddBFFarHoleEx},
        {"AddBFNearFarHoleEx", pw::AddBFNearFarHoleEx, spw::AddBFNearFarHoleEx},
        {"AddWeb2HoleEx", pw::AddWeb2HoleEx, spw::AddWeb2HoleEx},
        {"AddWebStencil", pw::AddWebStencil, spw::AddWebStencil},
        {"AddTFStencil", pw::AddTFStencil, spw::AddTFStencil},
        {"AddBFStencil", pw::AddBFStencil, spw::AddBFStencil},
        {"LookupShape", tarsis_shape_server::LookupShape, tarsis::shapeserver::LookupShape},
        {"CreateMult", mw::CreateMult, smw::CreateMult},
        {"SaveMult", mw::SaveMult, smw::SaveMult},
        {"AddMultPart", mw::AddMultPart, smw::AddMultPart},
        {"GetMultSectionAndDescription", mw::GetMultSectionAndDescription,
         smw::GetMultSectionAndDescription},
        {"CheckMachine", mw::CheckMachine, smw::CheckMachine},
        {"CheckPart", mw::CheckPart, smw::CheckPart},
    };
    for (const Dispid& dispid : dispids)
        EXPECT_EQ(dispid.partModel, dispid.server) << dispid.name;
}

} // namespace
