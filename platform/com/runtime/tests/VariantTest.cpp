// VARIANT copies and conversions, and the CComVariant owner.
#include "com/Variant.h"
#include "com/Bstr.h"
#include "com/ComVariant.h"
#include "com/Interfaces.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <limits>
#include <new>

namespace {

// A counted object that answers IUnknown and, when asked, IDispatch.
class Counted : public IDispatch {
public:
    explicit Counted(bool dispatch = true) : m_dispatch(dispatch) {}
    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || (m_dispatch && riid == IID_IDispatch)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    std::atomic<ULONG> refs{1};

private:
    bool m_dispatch;
};

VARIANT make(VARTYPE vt)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    return v;
}

VARIANT text(const char16_t* s)
{
    VARIANT v = make(VT_BSTR);
    v.bstrVal = SysAllocString(s);
    return v;
}

std::u16string textOf(const VARIANT& v)
{
    return std::u16string(v.bstrVal, SysStringLen(v.bstrVal));
}

// Callers hand out a pointer into a fresh VARIANT{} as an out-string; every
// byte of its value must be zero, not only those of the first member.
TEST(Variant, ValueInitialisationZeroesTheWholeValue)
{
    alignas(VARIANT) unsigned char storage[sizeof(VARIANT)];
    std::memset(storage, 0xAB, sizeof storage);
    VARIANT* v = new (storage) VARIANT{};
    EXPECT_EQ(v->vt, VT_EMPTY);
    EXPECT_EQ(v->bstrVal, nullptr);
    EXPECT_EQ(v->dblVal, 0.0);
}

TEST(Variant, ClearFreesAndCopyIsDeep)
{
    VARIANT a = text(u"abc");
    VARIANT b;
    VariantInit(&b);
    ASSERT_EQ(VariantCopy(&b, &a), S_OK);
    EXPECT_EQ(b.vt, VT_BSTR);
    EXPECT_NE(b.bstrVal, a.bstrVal);
    EXPECT_EQ(textOf(b), u"abc");
    EXPECT_EQ(VariantClear(&a), S_OK);
    EXPECT_EQ(a.vt, VT_EMPTY);
    EXPECT_EQ(VariantCopy(&b, &b), S_OK) << "onto itself";
    EXPECT_EQ(textOf(b), u"abc");
    VariantClear(&b);

    Counted object;
    VARIANT u = make(VT_UNKNOWN);
    u.punkVal = &object;
    object.AddRef();
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &u), S_OK);
    EXPECT_EQ(object.refs, 3u);
    VariantClear(&copy);
    VariantClear(&u);
    EXPECT_EQ(object.refs, 1u);

    VARIANT bad = make(0x7F);
    EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
    EXPECT_EQ(VariantCopy(&copy, &bad), DISP_E_BADVARTYPE);
}

TEST(Variant, CopyIndFollowsByRef)
{
    LONG number = 42;
    VARIANT ref = make(VT_I4 | VT_BYREF);
    ref.plVal = &number;
    VARIANT out;
    VariantInit(&out);
    ASSERT_EQ(VariantCopyInd(&out, &ref), S_OK);
    EXPECT_EQ(out.vt, VT_I4);
    EXPECT_EQ(out.lVal, 42);

    BSTR s = SysAllocString(u"by ref");
    VARIANT bref = make(VT_BSTR | VT_BYREF);
    bref.pbstrVal = &s;
    ASSERT_EQ(VariantCopyInd(&out, &bref), S_OK);
    EXPECT_EQ(out.vt, VT_BSTR);
    EXPECT_NE(out.bstrVal, s);
    EXPECT_EQ(textOf(out), u"by ref");
    VariantClear(&out);
    SysFreeString(s);

    VARIANT inner = make(VT_R8);
    inner.dblVal = 2.5;
    VARIANT vref = make(VT_VARIANT | VT_BYREF);
    vref.pvarVal = &inner;
    ASSERT_EQ(VariantCopyInd(&out, &vref), S_OK);
    EXPECT_EQ(out.vt, VT_R8);
    EXPECT_EQ(out.dblVal, 2.5);

    VARIANT nullRef = make(VT_I4 | VT_BYREF);
    EXPECT_EQ(VariantCopyInd(&out, &nullRef), E_INVALIDARG);

    VARIANT shallow;
    VariantInit(&shallow);
    ASSERT_EQ(VariantCopy(&shallow, &ref), S_OK);
    EXPECT_EQ(shallow.plVal, &number) << "VariantCopy keeps the reference";
}

struct Conversion {
    VARIANT (*source)();
    VARTYPE to;
    HRESULT hr;
    const char* expected; // the result as text, checked through VT_BSTR
};

VARIANT i4(LONG v)
{
    VARIANT x = make(VT_I4);
    x.lVal = v;
    return x;
}
VARIANT r8(double v)
{
    VARIANT x = make(VT_R8);
    x.dblVal = v;
    return x;
}

TEST(Variant, ChangeTypeBetweenNumbersAndText)
{
    const Conversion cases[] = {
        {[] { return i4(70000); }, VT_I2, DISP_E_OVERFLOW, nullptr},
        {[] { return i4(-32768); }, VT_I2, S_OK, "-32768"},
        {[] { return i4(-1); }, VT_UI4, DISP_E_OVERFLOW, nullptr},
        {[] { return i4(255); }, VT_UI1, S_OK, "255"},
        {[] { return i4(256); }, VT_UI1, DISP_E_OVERFLOW, nullptr},
        {[] { return r8(2.5); }, VT_I4, S_OK, "2"}, // halves to even
        {[] { return r8(3.5); }, VT_I4, S_OK, "4"},
        {[] { return r8(-1.6); }, VT_I2, S_OK, "-2"},
        {[] { return r8(3e9); }, VT_I4, DISP_E_OVERFLOW, nullptr},
        {[] { return r8(3e9); }, VT_UI4, S_OK, "3000000000"},
        {[] { return r8(1e300); }, VT_R4, DISP_E_OVERFLOW, nullptr},
        {[] { return r8(0.1); }, VT_BSTR, S_OK, "0.1"}, // shortest round trip
        {[] { return r8(1.0 / 3); }, VT_BSTR, S_OK, "0.3333333333333333"},
        {[] { return r8(-1234.5); }, VT_BSTR, S_OK, "-1234.5"},
        {[] { return r8(1e21); }, VT_BSTR, S_OK, "1e+21"},
        {[] { return r8(4e9); }, VT_BSTR, S_OK, "4000000000"},
        {[] { return r8(1.5e-7); }, VT_BSTR, S_OK, "1.5e-07"},
        {[] { return i4(-17); }, VT_BSTR, S_OK, "-17"},
        {[] { return text(u" 12 "); }, VT_I4, S_OK, "12"},
        {[] { return text(u"+7"); }, VT_I2, S_OK, "7"},
        {[] { return text(u"1.5"); }, VT_I4, S_OK, "2"},
        {[] { return text(u"1,5"); }, VT_R8, DISP_E_TYPEMISMATCH, nullptr}, // "C" locale only
        {[] { return text(u"2.75e2"); }, VT_R8, S_OK, "275"},
        {[] { return text(u"99999999999"); }, VT_I4, DISP_E_OVERFLOW, nullptr},
        {[] { return text(u"1e999"); }, VT_R8, DISP_E_OVERFLOW, nullptr},
        {[] { return text(u"abc"); }, VT_I4, DISP_E_TYPEMISMATCH, nullptr},
        {[] { return text(u""); }, VT_I4, DISP_E_TYPEMISMATCH, nullptr},
        {[] { return text(u"nan"); }, VT_R8, DISP_E_TYPEMISMATCH, nullptr},
        {[] { return text(u"0x10"); }, VT_I4, DISP_E_TYPEMISMATCH, nullptr},
        {[] { return text(u"true"); }, VT_BOOL, S_OK, "-1"},
        {[] { return text(u"False"); }, VT_BOOL, S_OK, "0"},
        {[] { return text(u"5"); }, VT_BOOL, S_OK, "-1"},
        {[] { return make(VT_EMPTY); }, VT_I4, S_OK, "0"},
        {[] { return make(VT_EMPTY); }, VT_BSTR, S_OK, ""},
        {[] { return make(VT_NULL); }, VT_I4, DISP_E_TYPEMISMATCH, nullptr},
        {[] {
             VARIANT b = make(VT_BOOL);
             b.boolVal = VARIANT_TRUE;
             return b;
         },
         VT_I2, S_OK, "-1"},
        {[] {
             VARIANT b = make(VT_BOOL);
             b.boolVal = VARIANT_TRUE;
             return b;
         },
         VT_BSTR, S_OK, "-1"},
        {[] {
             VARIANT e = make(VT_ERROR);
             e.scode = DISP_E_PARAMNOTFOUND;
             return e;
         },
         VT_I4, S_OK, "-2147352572"},
        {[] {
             VARIANT e = make(VT_ERROR);
             e.scode = E_FAIL;
             return e;
         },
         VT_BSTR, DISP_E_TYPEMISMATCH, nullptr},
        {[] {
             VARIANT c = make(VT_I1);
             c.cVal = -5;
             return c;
         },
         VT_I4, S_OK, "-5"},
        {[] {
             VARIANT c = make(VT_UI2);
             c.uiVal = 65535;
             return c;
         },
         VT_INT, S_OK, "65535"},
        {[] {
             VARIANT c = make(VT_UINT);
             c.uintVal = 4000000000u;
             return c;
         },
         VT_R8, S_OK, "4000000000"},
    };
    int row = 0;
    for (const Conversion& c : cases) {
        SCOPED_TRACE(row++);
        VARIANT source = c.source();
        VARIANT converted;
        VariantInit(&converted);
        EXPECT_EQ(VariantChangeType(&converted, &source, 0, c.to), c.hr);
        if (c.hr == S_OK) {
            EXPECT_EQ(converted.vt, c.to);
            VARIANT asText;
            VariantInit(&asText);
            ASSERT_EQ(VariantChangeType(&asText, &converted, 0, VT_BSTR), S_OK);
            EXPECT_EQ(textOf(asText),
                      std::u16string(c.expected, c.expected + std::strlen(c.expected)));
            VariantClear(&asText);
        } else {
            EXPECT_EQ(converted.vt, VT_EMPTY) << "dest untouched on failure";
        }
        VariantClear(&converted);
        VariantClear(&source);
    }
}

TEST(Variant, ChangeTypeInPlaceAndByRef)
{
    VARIANT v = text(u"123");
    ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_I4), S_OK);
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, 123);

    SHORT small = -3;
    VARIANT ref = make(VT_I2 | VT_BYREF);
    ref.piVal = &small;
    ASSERT_EQ(VariantChangeType(&v, &ref, 0, VT_R8), S_OK);
    EXPECT_EQ(v.dblVal, -3.0);

    VARIANT b = make(VT_BOOL);
    b.boolVal = VARIANT_FALSE;
    ASSERT_EQ(VariantChangeType(&v, &b, VARIANT_ALPHABOOL, VT_BSTR), S_OK);
    EXPECT_EQ(textOf(v), u"False");
    VariantClear(&v);
}

TEST(Variant, ChangeTypeBetweenInterfaces)
{
    Counted dispatchable(true), plain(false);
    VARIANT u = make(VT_UNKNOWN);
    u.punkVal = &dispatchable;
    VARIANT d;
    VariantInit(&d);
    ASSERT_EQ(VariantChangeType(&d, &u, 0, VT_DISPATCH), S_OK);
    EXPECT_EQ(d.pdispVal, &dispatchable);
    EXPECT_EQ(dispatchable.refs, 2u);
    VARIANT back;
    VariantInit(&back);
    ASSERT_EQ(VariantChangeType(&back, &d, 0, VT_UNKNOWN), S_OK);
    EXPECT_EQ(dispatchable.refs, 3u);
    VariantClear(&back);
    VariantClear(&d);
    EXPECT_EQ(dispatchable.refs, 1u);

    u.punkVal = &plain;
    EXPECT_EQ(VariantChangeType(&d, &u, 0, VT_DISPATCH), E_NOINTERFACE);
    EXPECT_EQ(VariantChangeType(&d, &u, 0, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(plain.refs, 1u);
}

TEST(ComVariant, ConstructorsPickTheirTypes)
{
    struct Case {
        CComVariant value;
        VARTYPE vt;
    };
    Counted object;
    const Case cases[] = {
        {CComVariant(LONG(5)), VT_I4},
        {CComVariant(SHORT(5)), VT_I2},
        {CComVariant(2.5), VT_R8},
        {CComVariant(true), VT_BOOL},
        {CComVariant(u"wide"), VT_BSTR},
        {CComVariant("narrow"), VT_BSTR},
        {CComVariant(static_cast<IUnknown*>(&object)), VT_UNKNOWN},
        {CComVariant(static_cast<IDispatch*>(&object)), VT_DISPATCH},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.value.vt, c.vt);
    EXPECT_EQ(cases[3].value.boolVal, VARIANT_TRUE);
    EXPECT_EQ(std::u16string(cases[5].value.bstrVal), u"narrow");
    EXPECT_EQ(object.refs, 3u);
}

TEST(ComVariant, CopiesConvertsAndDetaches)
{
    CComVariant a(u"41");
    CComVariant b(a);
    EXPECT_NE(a.bstrVal, b.bstrVal);
    ASSERT_EQ(b.ChangeType(VT_I4), S_OK);
    EXPECT_EQ(b.lVal, 41);
    CComVariant c;
    ASSERT_EQ(c.ChangeType(VT_R8, &b), S_OK);
    EXPECT_EQ(c.dblVal, 41.0);

    VARIANT out;
    VariantInit(&out);
    ASSERT_EQ(a.Detach(&out), S_OK);
    EXPECT_EQ(a.vt, VT_EMPTY);
    EXPECT_EQ(out.vt, VT_BSTR);
    VariantClear(&out);

    c = b;
    EXPECT_EQ(c.vt, VT_I4);
    EXPECT_EQ(c.Clear(), S_OK);
    EXPECT_EQ(c.vt, VT_EMPTY);
}

} // namespace
