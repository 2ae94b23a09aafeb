// The description of HalcyraLib: its interfaces in order, and the members'
// DISPIDs, kinds, parameter types and names where callers rely on them.
#include "HalcyraTypeLibrary.h"

#include "halcyra/HalcyraLib.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace comserver;

const InterfaceDesc& interfaceOf(REFIID iid)
{
    for (const InterfaceDesc& desc : halcyraTypeLibrary().interfaces)
        if (desc.iid == iid)
            return desc;
    throw std::runtime_error("interface not described");
}

const MemberDesc& member(REFIID iid, const std::string& name, MemberKind kind = MemberKind::Method)
{
    for (const MemberDesc& m : interfaceOf(iid).members)
        if (m.name == name && m.kind == kind)
            return m;
    throw std::runtime_error("member not described: " + name);
}

// "name:vt" per parameter, out ones marked with a leading '&'.
std::string signature(const MemberDesc& m)
{
    std::string text;
    for (const ParamDesc& p : m.params) {
        if (!text.empty())
            text += ' ';
        text += (p.flags & ParamOut ? "&" : "") + p.name + ":" + std::to_string(p.vt & VT_TYPEMASK);
    }
    return text;
}

TEST(HalcyraTypeLibrary, DescribesTheLibraryAndItsInterfacesInOrder)
{
    const TypeLibrary& library = halcyraTypeLibrary();
    EXPECT_EQ(library.libid, LIBID_HALCYRALib);
    EXPECT_EQ(library.major, 1);
    EXPECT_EQ(library.minor, 0);
    EXPECT_EQ(library.helpString, "Halcyra 1.0 Type Library");
    std::vector<std::string> names;
    for (const InterfaceDesc& desc : library.interfaces)
        names.push_back(desc.name + "/" + desc.helpString + "/" +
                        std::to_string(static_cast<int>(desc.kind)));
    EXPECT_EQ(names, (std::vector<std::string>{"IVLMRConvert/IVLMRConvert Interface/1",
                                               "IVLMRMultConvert/IVLMRMultConvert Interface/1",
                                               "ICADPart/ICADPart Interface/1",
                                               "ICADPart2/ICADPart2 Interface/0",
                                               "ICADMult/ICADMult Interface/0"}));
    ASSERT_EQ(library.coclasses.size(), 3u);
    EXPECT_EQ(library.coclasses[1].clsid, CLSID_CADPart2);
    EXPECT_EQ(library.coclasses[1].interfaces, std::vector<IID>{IID_ICADPart2});
    EXPECT_EQ(interfaceOf(IID_ICADPart).members.size(), 41u);
    EXPECT_EQ(interfaceOf(IID_ICADPart2).members.size(), 27u);
    EXPECT_EQ(interfaceOf(IID_ICADMult).members.size(), 27u);
}

TEST(HalcyraTypeLibrary, MembersCarryTheirDispidsAndParameters)
{
    struct Case {
        IID iid;
        const char* name;
        MemberKind kind;
        DISPID dispid;
        const char* signature; // VT numbers: 2 I2, 3 I4, 5 R8, 8 BSTR, 13 IUnknown, 16 I1, 17 UI1
    };
    const Case cases[] = {
        {IID_IVLMRConvert, "ReadPart", MemberKind::Method, 2,
         "&ppIUnkCADPart:13 bIsMetric:3 bIsToolMetric:3"},
        {IID_IVLMRConvert, "ConversionName", MemberKind::PropertyGet, 3, "&pVal:8"},
        {IID_IVLMRMultConvert, "ReadMult", MemberKind::Method, 1, "&ppIUnkCADMult:13"},
        {IID_ICADPart, "JobId", MemberKind::PropertyPut, 1, ":8"},
        {IID_ICADPart, "Length", MemberKind::PropertyPut, 0xb, ":5"},
        {IID_ICADPart, "SetTFNearFarHole", MemberKind::Method, 0x11,
         "dXPosition:5 dUPosition:5 dToolSize1:5 dToolSize2:5 bstrToolShape:8 nOrientation:3"},
        {IID_ICADPart, "SetBFNearFarMark", MemberKind::Method, 0x1a, "dXPosition:5 dUPosition:5"},
        {IID_ICADPart, "SetMetric", MemberKind::Method, 0x1f, "bTrue:3"},
        {IID_ICADPart, "SetWeb2HoleEx", MemberKind::Method, 0x28,
         "dXPosition:5 dUPosition:5 dToolSize1:5 dToolSize2:5 bstrToolShape:8 nOrientation:3 "
         "nMeasuringSystem:3"},
        {IID_ICADPart2, "Quantity", MemberKind::PropertyGet, 0x60010003, "&pVal:3"},
        {IID_ICADPart2, "Quantity", MemberKind::PropertyPut, 0x60010003, ":3"},
        {IID_ICADPart2, "SetWebOperation", MemberKind::Method, 0x60010007,
         "dStartX:5 dStartU:5 cDirectionX:17 cDirectionU:17 cPatternType:17 dRise:5 dRun:5 dX:5 "
         "dU:5 nNumX:3 dXInc:5 nNumU:3 dUInc:5 cOperationType:17 cFrontBack:17 dToolSize1:5 "
         "dToolSize2:5 bstrToolType:8 nToolOrientation:3"},
        {IID_ICADPart2, "SetBottomFlangeOperationEx", MemberKind::Method, 0x60010012,
         "dStartX:5 dStartU:5 cDirectionX:16 cDirectionU:16 cPatternType:17 dRise:5 dRun:5 dX:5 "
         "dU:5 nNumX:3 dXInc:5 nNumU:3 dUInc:5 cOperationType:16 cFrontBack:16 dToolSize1:5 "
         "dToolSize2:5 bstrToolType:8 nToolOrientation:3 nToolMeasuringSystem:3"},
        {IID_ICADPart2, "Grade", MemberKind::PropertyGet, 0x6001000b, "&pVal:8"},
        {IID_ICADMult, "Kerf", MemberKind::PropertyPut, 0x60010009, ":5"},
        {IID_ICADMult, "GetMultSectionAndDescription", MemberKind::Method, 0x6001000d,
         "bstrJob:8 bstrGroup:8 bstrMark:8 &pbstrSection:8 &pbstrDesctp:8"},
        {IID_ICADMult, "CheckParts", MemberKind::Method, 0x6001000f,
         "&pnNumberOf:3 &ppbstrPartJobs:26 &ppbstrPartGroups:26 &ppbstrPart:26"},
        {IID_ICADMult, "CheckPart", MemberKind::Method, 0x60010010,
         "bstrJob:8 bstrGroup:8 bstrMark:8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MemberDesc& m = member(c.iid, c.name, c.kind);
        EXPECT_EQ(m.dispid, c.dispid);
        EXPECT_EQ(signature(m), c.signature);
    }
}

TEST(HalcyraTypeLibrary, LeavesTheSupplementOut)
{
    for (const InterfaceDesc& desc : halcyraTypeLibrary().interfaces)
        EXPECT_NE(desc.iid, IID_ICADPartSupplemental1);
}

} // namespace
