// The type library HalcyraLib: the converter interfaces (ConverterContract.h), the part, part
// with operations and mult interfaces, member by member, and the three
// coclasses. ICADPartSupplemental1 is not part of it.
#include "HalcyraTypeLibrary.h"

#include "halcyra/ConverterContract.h"
#include "halcyra/HalcyraLib.h"

namespace {

using namespace comserver;

constexpr const char* kHole[] = {"dXPosition", "dUPosition",    "dToolSize1",
                                 "dToolSize2", "bstrToolShape", "nOrientation"};
constexpr const char* kHoleEx[] = {"dXPosition",    "dUPosition",   "dToolSize1",      "dToolSize2",
                                   "bstrToolShape", "nOrientation", "nMeasuringSystem"};
constexpr const char* kMark[] = {"dXPosition", "dUPosition"};
constexpr const char* kStencil[] = {"dXPosition", "dUPosition", "bstrText"};
constexpr const char* kMetric[] = {"bTrue"};
constexpr const char* kVal[] = {"pVal"};
constexpr const char* kOperation[] = {"dStartX",
                                      "dStartU",
                                      "cDirectionX",
                                      "cDirectionU",
                                      "cPatternType",
                                      "dRise",
                                      "dRun",
                                      "dX",
                                      "dU",
                                      "nNumX",
                                      "dXInc",
                                      "nNumU",
                                      "dUInc",
                                      "cOperationType",
                                      "cFrontBack",
                                      "dToolSize1",
                                      "dToolSize2",
                                      "bstrToolType",
                                      "nToolOrientation"};
constexpr const char* kOperationEx[] = {"dStartX",
                                        "dStartU",
                                        "cDirectionX",
                                        "cDirectionU",
                                        "cPatternType",
                                        "dRise",
                                        "dRun",
                                        "dX",
                                        "dU",
                                        "nNumX",
                                        "dXInc",
                                        "nNumU",
                                        "dUInc",
                                        "cOperationType",
                                        "cFrontBack",
                                        "dToolSize1",
                                        "dToolSize2",
                                        "bstrToolType",
                                        "nToolOrientation",
                                        "nToolMeasuringSystem"};
constexpr const char* kPiece[] = {"bstrJob", "bstrGroup", "bstrMark"};

// The members of the two IUnknown-based interfaces are numbered from here
// in member order, a property's get and put sharing one.
constexpr DISPID kFirst = 0x60010000;

InterfaceDesc partInterface()
{
    using I = ICADPart;
    constexpr const char* retval[] = {"pbstrVal"};
    return dualInterface<I>(
        "ICADPart", "ICADPart Interface",
        {dispPropGet<&I::get_JobId>(1, "JobId", retval),
         dispPropPut<&I::put_JobId>(1, "JobId"),
         dispPropGet<&I::get_Group>(2, "Group", retval),
         dispPropPut<&I::put_Group>(2, "Group"),
         dispPropGet<&I::get_Mark>(3, "Mark", retval),
         dispPropPut<&I::put_Mark>(3, "Mark"),
         dispPropGet<&I::get_Section>(4, "Section", retval),
         dispPropPut<&I::put_Section>(4, "Section"),
         dispPropGet<&I::get_SectionDescription>(5, "SectionDescription", retval),
         dispPropPut<&I::put_SectionDescription>(5, "SectionDescription"),
         dispPropPut<&I::put_Quantity>(6, "Quantity"),
         dispPropPut<&I::put_Length>(0xb, "Length"),
         dispMethod<&I::SetWebHole>(0xc, "SetWebHole", kHole),
         dispMethod<&I::SetWebMark>(0xd, "SetWebMark", kMark),
         dispMethod<&I::SetWebHiddenMark>(0xe, "SetWebHiddenMark", kMark),
         dispMethod<&I::SetTFNearHole>(0xf, "SetTFNearHole", kHole),
         dispMethod<&I::SetTFFarHole>(0x10, "SetTFFarHole", kHole),
         dispMethod<&I::SetTFNearFarHole>(0x11, "SetTFNearFarHole", kHole),
         dispMethod<&I::SetTFNearMark>(0x12, "SetTFNearMark", kMark),
         dispMethod<&I::SetTFFarMark>(0x13, "SetTFFarMark", kMark),
         dispMethod<&I::SetTFNearFarMark>(0x14, "SetTFNearFarMark", kMark),
         dispMethod<&I::SetBFNearHole>(0x15, "SetBFNearHole", kHole),
         dispMethod<&I::SetBFFarHole>(0x16, "SetBFFarHole", kHole),
         dispMethod<&I::SetBFNearFarHole>(0x17, "SetBFNearFarHole", kHole),
         dispMethod<&I::SetBFNearMark>(0x18, "SetBFNearMark", kMark),
         dispMethod<&I::SetBFFarMark>(0x19, "SetBFFarMark", kMark),
         dispMethod<&I::SetBFNearFarMark>(0x1a, "SetBFNearFarMark", kMark),
         dispMethod<&I::SaveToTarsis>(0x1b, "SaveToTarsis"),
         dispMethod<&I::SetWebStencil>(0x1c, "SetWebStencil", kStencil),
         dispMethod<&I::SetTFStencil>(0x1d, "SetTFStencil", kStencil),
         dispMethod<&I::SetBFStencil>(0x1e, "SetBFStencil", kStencil),
         dispMethod<&I::SetMetric>(0x1f, "SetMetric", kMetric),
         dispMethod<&I::SetWeb2Hole>(0x20, "SetWeb2Hole", kHole),
         dispMethod<&I::SetWebHoleEx>(0x21, "SetWebHoleEx", kHoleEx),
         dispMethod<&I::SetTFNearHoleEx>(0x22, "SetTFNearHoleEx", kHoleEx),
         dispMethod<&I::SetTFFarHoleEx>(0x23, "SetTFFarHoleEx", kHoleEx),
         dispMethod<&I::SetTFNearFarHoleEx>(0x24, "SetTFNearFarHoleEx", kHoleEx),
         dispMethod<&I::SetBFNearHoleEx>(0x25, "SetBFNearHoleEx", kHoleEx),
         dispMethod<&I::SetBFFarHoleEx>(0x26, "SetBFFarHoleEx", kHoleEx),
         dispMethod<&I::SetBFNearFarHoleEx>(0x27, "SetBFNearFarHoleEx", kHoleEx),
         dispMethod<&I::SetWeb2HoleEx>(0x28, "SetWeb2HoleEx", kHoleEx)});
}

InterfaceDesc part2Interface()
{
    using I = ICADPart2;
    return customInterface<I>(
        "ICADPart2", "ICADPart2 Interface",
        {dispPropGet<&I::get_JobId>(kFirst + 0, "JobId", kVal),
         dispPropPut<&I::put_JobId>(kFirst + 0, "JobId"),
         dispPropGet<&I::get_Group>(kFirst + 1, "Group", kVal),
         dispPropPut<&I::put_Group>(kFirst + 1, "Group"),
         dispPropGet<&I::get_Mark>(kFirst + 2, "Mark", kVal),
         dispPropPut<&I::put_Mark>(kFirst + 2, "Mark"),
         dispPropGet<&I::get_Quantity>(kFirst + 3, "Quantity", kVal),
         dispPropPut<&I::put_Quantity>(kFirst + 3, "Quantity"),
         dispPropGet<&I::get_Length>(kFirst + 4, "Length", kVal),
         dispPropPut<&I::put_Length>(kFirst + 4, "Length"),
         dispPropGet<&I::get_Section>(kFirst + 5, "Section", kVal),
         dispPropPut<&I::put_Section>(kFirst + 5, "Section"),
         dispPropGet<&I::get_SectionDescription>(kFirst + 6, "SectionDescription", kVal),
         dispPropPut<&I::put_SectionDescription>(kFirst + 6, "SectionDescription"),
         dispMethod<&I::SetWebOperation>(kFirst + 7, "SetWebOperation", kOperation),
         dispMethod<&I::SetTopFlangeOperation>(kFirst + 8, "SetTopFlangeOperation", kOperation),
         dispMethod<&I::SetBottomFlangeOperation>(kFirst + 9, "SetBottomFlangeOperation",
                                                  kOperation),
         dispMethod<&I::SaveToTarsis>(kFirst + 10, "SaveToTarsis"),
         dispPropGet<&I::get_Grade>(kFirst + 11, "Grade", kVal),
         dispPropPut<&I::put_Grade>(kFirst + 11, "Grade"),
         dispMethod<&I::SetWebStencil>(kFirst + 12, "SetWebStencil", kStencil),
         dispMethod<&I::SetTFStencil>(kFirst + 13, "SetTFStencil", kStencil),
         dispMethod<&I::SetBFStencil>(kFirst + 14, "SetBFStencil", kStencil),
         dispMethod<&I::SetMetric>(kFirst + 15, "SetMetric", kMetric),
         dispMethod<&I::SetWebOperationEx>(kFirst + 16, "SetWebOperationEx", kOperationEx),
         dispMethod<&I::SetTopFlangeOperationEx>(kFirst + 17, "SetTopFlangeOperationEx",
                                                 kOperationEx),
         dispMethod<&I::SetBottomFlangeOperationEx>(kFirst + 18, "SetBottomFlangeOperationEx",
                                                    kOperationEx)});
}

// CheckParts hands out arrays of strings, which have no automation type:
// it is described by hand and never dispatched (the interface is not).
Member<ICADMult> checkParts(DISPID dispid)
{
    Member<ICADMult> member;
    member.dispid = dispid;
    member.name = "CheckParts";
    member.kind = MemberKind::Method;
    member.params = {{"pnNumberOf", VT_BYREF | VT_I4, ParamOut},
                     {"ppbstrPartJobs", VT_BYREF | VT_PTR, ParamOut},
                     {"ppbstrPartGroups", VT_BYREF | VT_PTR, ParamOut},
                     {"ppbstrPart", VT_BYREF | VT_PTR, ParamOut}};
    member.invoke = nullptr;
    return member;
}

InterfaceDesc multInterface()
{
    using I = ICADMult;
    return customInterface<I>(
        "ICADMult", "ICADMult Interface",
        {dispPropGet<&I::get_JobId>(kFirst + 0, "JobId", kVal),
         dispPropPut<&I::put_JobId>(kFirst + 0, "JobId"),
         dispPropGet<&I::get_Group>(kFirst + 1, "Group", kVal),
         dispPropPut<&I::put_Group>(kFirst + 1, "Group"),
         dispPropGet<&I::get_Mark>(kFirst + 2, "Mark", kVal),
         dispPropPut<&I::put_Mark>(kFirst + 2, "Mark"),
         dispPropGet<&I::get_Quantity>(kFirst + 3, "Quantity", kVal),
         dispPropPut<&I::put_Quantity>(kFirst + 3, "Quantity"),
         dispPropGet<&I::get_Length>(kFirst + 4, "Length", kVal),
         dispPropPut<&I::put_Length>(kFirst + 4, "Length"),
         dispPropGet<&I::get_Section>(kFirst + 5, "Section", kVal),
         dispPropPut<&I::put_Section>(kFirst + 5, "Section"),
         dispPropGet<&I::get_SectionDescription>(kFirst + 6, "SectionDescription", kVal),
         dispPropPut<&I::put_SectionDescription>(kFirst + 6, "SectionDescription"),
         dispPropGet<&I::get_Grade>(kFirst + 7, "Grade", kVal),
         dispPropPut<&I::put_Grade>(kFirst + 7, "Grade"),
         dispPropGet<&I::get_Machine>(kFirst + 8, "Machine", kVal),
         dispPropPut<&I::put_Machine>(kFirst + 8, "Machine"),
         dispPropGet<&I::get_Kerf>(kFirst + 9, "Kerf", kVal),
         dispPropPut<&I::put_Kerf>(kFirst + 9, "Kerf"),
         dispMethod<&I::SetMetric>(kFirst + 10, "SetMetric", kMetric),
         dispMethod<&I::SaveToTarsis>(kFirst + 11, "SaveToTarsis"),
         dispMethod<&I::AddPart>(kFirst + 12, "AddPart",
                                 {"bstrJob", "bstrGroup", "bstrMark", "nQuantity"}),
         // "pbstrDesctp" is the system's own parameter name: keep it so.
         dispMethod<&I::GetMultSectionAndDescription>(
             kFirst + 13, "GetMultSectionAndDescription",
             {"bstrJob", "bstrGroup", "bstrMark", "pbstrSection", "pbstrDesctp"}),
         dispMethod<&I::CheckMachine>(kFirst + 14, "CheckMachine", {"pbstrMachineName"}),
         checkParts(kFirst + 15), dispMethod<&I::CheckPart>(kFirst + 16, "CheckPart", kPiece)});
}

} // namespace

const comserver::TypeLibrary& halcyraTypeLibrary()
{
    static const TypeLibrary library =
        halcyraLibrary({convertInterfaceDescription(), multConvertInterfaceDescription(),
                        partInterface(), part2Interface(), multInterface()},
                       {coClass(CLSID_CADPart, "CADPart", {IID_ICADPart}, "CADPart Class"),
                        coClass(CLSID_CADPart2, "CADPart2", {IID_ICADPart2}, "CADPart2 Class"),
                        coClass(CLSID_CADMult, "CADMult", {IID_ICADMult}, "CADMult Class")});
    return library;
}
