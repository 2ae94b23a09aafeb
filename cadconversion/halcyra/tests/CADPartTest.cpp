// CCADPart as an object: its string properties, what the setters keep
// (seen through the save), its interfaces, error info and aggregation.
#include "HalcyraFixture.h"

#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;
using CADPart = HalcyraTest;

TEST_F(CADPart, NewPartHandsOutNullStrings)
{
    CComPtr<ICADPart> part = create<ICADPart>(CLSID_CADPart);
    using Getter = HRESULT (ICADPart::*)(BSTR*);
    for (Getter get : {&ICADPart::get_JobId, &ICADPart::get_Group, &ICADPart::get_Mark,
                       &ICADPart::get_Section, &ICADPart::get_SectionDescription}) {
        TestBstr value;
        EXPECT_EQ((part.p->*get)(value.out()), S_OK);
        EXPECT_EQ(static_cast<BSTR>(value), nullptr);
    }
}

TEST_F(CADPart, StringPutsKeepACopyUpToTheFirstNul)
{
    CComPtr<ICADPart> part = create<ICADPart>(CLSID_CADPart);
    struct Case {
        const char* what;
        std::u16string put; // "(null)" puts a null string
        std::u16string read;
    };
    const Case cases[] = {
        {"text", u"J1", u"J1"},
        {"embedded NUL", std::u16string(u"M1\0tail", 7), u"M1"},
        {"empty", u"", u""},
        {"null", u"(null)", u"(null)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestBstr in = c.put == u"(null)" ? TestBstr() : TestBstr(c.put.data(), c.put.size());
        ASSERT_EQ(part->put_Mark(in), S_OK);
        TestBstr out;
        ASSERT_EQ(part->get_Mark(out.out()), S_OK);
        EXPECT_EQ(out.text(), c.read);
    }
    // Each property has its own field.
    TestBstr job(u"J"), group(u"G"), section(u"S"), description(u"D");
    part->put_JobId(job);
    part->put_Group(group);
    part->put_Section(section);
    part->put_SectionDescription(description);
    TestBstr j, g, s, d;
    part->get_JobId(j.out());
    part->get_Group(g.out());
    part->get_Section(s.out());
    part->get_SectionDescription(d.out());
    EXPECT_EQ(j.text() + g.text() + s.text() + d.text(), u"JGSD");
}

TEST_F(CADPart, GettersRefuseANullOutPointer)
{
    CComPtr<ICADPart> part = create<ICADPart>(CLSID_CADPart);
    EXPECT_EQ(part->get_JobId(nullptr), E_POINTER);
}

// Setters store as passed: nothing merged, sorted or refused, any shape in
// any case, and the Ex form keeps the tool's measuring system.
TEST_F(CADPart, SettersAppendEveryRecordAsPassed)
{
    CComPtr<ICADPart> part = create<ICADPart>(CLSID_CADPart);
    TestBstr section(u"PL"), odd(u"sl"), euro(u"\u20AC\xD800");
    part->put_Section(section);
    part->SetMetric(1); // no rounding in the save
    part->SetWebHole(1, 2, -1, 0, odd, 7);
    part->SetWebHole(1, 2, -1, 0, odd, 7);
    part->SetWebHoleEx(3, 4, 0, 0, nullptr, -90, 2);
    part->SetWebHiddenMark(-5, 6);
    part->SetWebStencil(1, 1, euro); // an unpaired surrogate has no ANSI form
    part->put_Quantity(-2);
    part->put_Length(-12.5);
    ASSERT_EQ(part->SaveToTarsis(), S_OK);
    EXPECT_EQ(calls(),
              (Calls{"CreatePart(null, null, null, -2s, -12.5, \"PL\", null, \"\", \"\", 0L, "
                     "\"\", \"\", 2s, 0s)",
                     "SetRefPlane(0, 0, 0, 0, \"+\", \"+\", \"A\")",
                     "AddWebHole(1, 2, 0, 0, 1s, 1s, -1, 0, \"sl\", 7s)",
                     "AddWebHole(1, 2, 0, 0, 1s, 1s, -1, 0, \"sl\", 7s)",
                     "AddWebHoleEx(3, 4, 0, 0, 1s, 1s, 0, 0, null, -90s, 2s)",
                     "AddWebHiddenMark(-5, 6, 0, 0, 1s, 1s)", "AddWebStencil(1, 1, \"\u20AC?\")",
                     "SavePart()"}));
}

TEST_F(CADPart, AnswersItsInterfacesAndErrorInfoForICADPartOnly)
{
    CComPtr<ICADPart> part = create<ICADPart>(CLSID_CADPart);
    CComQIPtr<IDispatch> dispatch(part.p);
    ASSERT_TRUE(dispatch);
    EXPECT_EQ(static_cast<void*>(dispatch.p), static_cast<void*>(part.p));
    CComQIPtr<ICADPartSupplemental1> supplement(part.p);
    ASSERT_TRUE(supplement);
    CComQIPtr<ISupportErrorInfo> support(part.p);
    ASSERT_TRUE(support);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_ICADPart), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_ICADPartSupplemental1), S_FALSE);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
    CComQIPtr<ICADPart2> other(part.p);
    EXPECT_FALSE(other);

    // The supplement is outside the type library: no type information.
    UINT count = 7;
    EXPECT_EQ(supplement->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
}

TEST_F(CADPart, CanBeAggregated)
{
    Outer outer;
    ASSERT_EQ(CoCreateInstance(CLSID_CADPart, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&outer.inner)),
              S_OK);
    ICADPart* part = nullptr;
    ASSERT_EQ(outer.QueryInterface(IID_ICADPart, reinterpret_cast<void**>(&part)), S_OK);
    EXPECT_EQ(outer.refs, 2u);
    TestBstr mark(u"M");
    EXPECT_EQ(part->put_Mark(mark), S_OK);
    part->Release();
    EXPECT_EQ(outer.refs, 1u);
    outer.inner->Release();
}

// Through IDispatch, as the type library describes ICADPart.
TEST_F(CADPart, IsReachableThroughItsTypeLibrary)
{
    CComPtr<IDispatch> part = create<IDispatch>(CLSID_CADPart);
    struct Name {
        const char16_t* name;
        DISPID dispid;
    };
    const Name names[] = {
        {u"JobId", 1},           {u"SectionDescription", 5}, {u"Quantity", 6},
        {u"Length", 0xb},        {u"SetWebHole", 0xc},       {u"SetBFNearFarMark", 0x1a},
        {u"SaveToTarsis", 0x1b}, {u"SetBFStencil", 0x1e},    {u"SetMetric", 0x1f},
        {u"SetWeb2Hole", 0x20},  {u"SetWebHoleEx", 0x21},    {u"SetWeb2HoleEx", 0x28}};
    for (const Name& n : names) {
        SCOPED_TRACE(std::string(n.name, n.name + std::char_traits<char16_t>::length(n.name)));
        LPOLESTR name = const_cast<LPOLESTR>(n.name);
        DISPID dispid = 0;
        EXPECT_EQ(part->GetIDsOfNames(IID_NULL, &name, 1, 0, &dispid), S_OK);
        EXPECT_EQ(dispid, n.dispid);
    }

    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(u"J7");
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS put{&value, &named, 1, 1};
    EXPECT_EQ(part->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr),
              S_OK);
    VariantClear(&value);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(part->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
              S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(std::u16string(result.bstrVal), u"J7");
    VariantClear(&result);
}

} // namespace
