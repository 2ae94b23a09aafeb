// HRESULT messages, _com_error and the raising helpers.
#include "com/ComError.h"
#include "com/Bstr.h"
#include "com/Runtime.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr GUID kInterface = guidOf("39E39A27-0B5D-11D2-AA01-008029E54FFB");

IErrorInfo* makeError(const char16_t* source, const char16_t* description)
{
    ICreateErrorInfo* create = nullptr;
    EXPECT_EQ(CreateErrorInfo(&create), S_OK);
    create->SetGUID(kInterface);
    create->SetSource(const_cast<LPOLESTR>(source));
    create->SetDescription(const_cast<LPOLESTR>(description));
    IErrorInfo* info = nullptr;
    create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
    create->Release();
    return info;
}

TEST(HresultMessage, OwnWordingThenDispatchNumberThenUnknown)
{
    struct Case {
        HRESULT hr;
        const char* text;
    };
    const Case cases[] = {
        {S_OK, "The operation completed successfully."},
        {E_OUTOFMEMORY, "There is not enough memory to complete the operation."},
        {E_POINTER, "The pointer is not valid."},
        {REGDB_E_CLASSNOTREG, "The class is not registered."},
        {DISP_E_TYPEMISMATCH, "The types do not match."},
        {hresult(0x800703F1), "The registry is damaged."},
        {hresult(0x800700AA), "The resource is in use by another process."},
        {hresult(0x80040200), "IDispatch error #0"},
        {hresult(0x80040201), "IDispatch error #1"},
        {hresult(0x8004FFFF), "IDispatch error #65023"},
        {hresult(0x80040004), "Unknown error 0x80040004"},
        {hresult(0x80040008), "Unknown error 0x80040008"},
        {hresult(0x80050000), "Unknown error 0x80050000"},
        {hresult(0x800A0BAD), "Unknown error 0x800A0BAD"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hresultMessage(c.hr), c.text);
    for (HRESULT hr : {E_UNEXPECTED, E_NOTIMPL, E_INVALIDARG, E_NOINTERFACE, E_FAIL, E_ACCESSDENIED,
                       E_ABORT, CLASS_E_NOAGGREGATION, CO_E_NOTINITIALIZED, CO_E_CLASSSTRING,
                       DISP_E_EXCEPTION, DISP_E_MEMBERNOTFOUND, DISP_E_OVERFLOW}) {
        const std::string text = hresultMessage(hr);
        EXPECT_EQ(text.find("Unknown error"), std::string::npos) << text;
        EXPECT_NE(text.back(), '\n');
    }
}

TEST(ComError, CarriesHresultMessageAndErrorInfo)
{
    IErrorInfo* info = makeError(u"Lunkett.DSTVConvert1.1", u"File Open Failure x.nc");
    {
        const _com_error error(hresult(0x80040005), info, true);
        EXPECT_EQ(error.Error(), hresult(0x80040005));
        EXPECT_STREQ(error.ErrorMessage(), "Unknown error 0x80040005");
        EXPECT_STREQ(static_cast<const char*>(error.Description()), "File Open Failure x.nc");
        EXPECT_STREQ(static_cast<const char*>(error.Source()), "Lunkett.DSTVConvert1.1");
        EXPECT_EQ(error.GUID(), kInterface);

        const _com_error copy = error;
        IErrorInfo* fromCopy = copy.ErrorInfo();
        EXPECT_EQ(fromCopy, info);
        fromCopy->Release();
        EXPECT_STREQ(copy.ErrorMessage(), "Unknown error 0x80040005");
    }
    EXPECT_EQ(info->Release(), 0u) << "the errors let their references go";
}

TEST(ComError, WithoutErrorInfoHasEmptyParts)
{
    const _com_error error(E_POINTER);
    EXPECT_EQ(error.ErrorInfo(), nullptr);
    EXPECT_STREQ(error.ErrorMessage(), "The pointer is not valid.");
    EXPECT_EQ(error.Description().length(), 0u);
    EXPECT_EQ(error.Source().length(), 0u);
    EXPECT_EQ(error.GUID(), GUID_NULL);
}

// An object that says, for kInterface only, that it sets error info.
class Reporter : public ISupportErrorInfo {
public:
    explicit Reporter(bool supports) : m_supports(supports) {}
    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || (m_supports && riid == IID_ISupportErrorInfo)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    HRESULT InterfaceSupportsErrorInfo(REFIID riid) override
    {
        return riid == kInterface ? S_OK : S_FALSE;
    }
    ULONG refs = 1;

private:
    bool m_supports;
};

TEST(ComError, IssueErrorExTakesErrorInfoOnlyWhenObjectSupportsIt)
{
    struct Case {
        bool supports;
        GUID iid;
        bool taken;
    };
    const Case cases[] = {
        {true, kInterface, true},
        {true, IID_IDispatch, false},
        {false, kInterface, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.supports);
        IErrorInfo* info = makeError(u"source", u"why");
        SetErrorInfo(0, info);
        Reporter object(c.supports);
        try {
            _com_issue_errorex(E_FAIL, &object, c.iid);
            ADD_FAILURE() << "did not raise";
        } catch (const _com_error& error) {
            EXPECT_EQ(error.Error(), E_FAIL);
            IErrorInfo* carried = error.ErrorInfo();
            EXPECT_EQ(carried, c.taken ? info : nullptr);
            if (carried)
                carried->Release();
        }
        IErrorInfo* left = nullptr;
        EXPECT_EQ(GetErrorInfo(0, &left), c.taken ? S_FALSE : S_OK)
            << "taken from the thread, or left there";
        if (left)
            left->Release();
        EXPECT_EQ(object.refs, 1u);
        EXPECT_EQ(info->Release(), 0u);
    }
}

TEST(ComError, IssueErrorRaisesBareError)
{
    try {
        _com_issue_error(E_OUTOFMEMORY);
        ADD_FAILURE() << "did not raise";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), E_OUTOFMEMORY);
        EXPECT_EQ(error.ErrorInfo(), nullptr);
    }
}

} // namespace
