// Smart pointers: reference counts, QueryInterface on construction, and
// the raising kind's E_POINTER.
#include "com/ComPtr.h"

#include <gtest/gtest.h>

namespace {

// An object with IErrorInfo and IUnknown only, counting references.
class Counted : public IErrorInfo {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IErrorInfo) {
            *ppv = static_cast<IErrorInfo*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    HRESULT GetGUID(GUID*) override { return S_OK; }
    HRESULT GetSource(BSTR*) override { return S_OK; }
    HRESULT GetDescription(BSTR*) override { return S_OK; }
    HRESULT GetHelpFile(BSTR*) override { return S_OK; }
    HRESULT GetHelpContext(DWORD* context) override
    {
        *context = 9;
        return S_OK;
    }
    ULONG refs = 1;
};

COM_SMARTPTR_TYPEDEF(IErrorInfo);
COM_SMARTPTR_TYPEDEF(ICatInformation);

TEST(CComPtr, CountsReferences)
{
    Counted object;
    {
        CComPtr<IErrorInfo> a(&object);
        EXPECT_EQ(object.refs, 2u);
        CComPtr<IErrorInfo> b = a;
        EXPECT_EQ(object.refs, 3u);
        CComPtr<IErrorInfo> c = std::move(b);
        EXPECT_EQ(object.refs, 3u);
        EXPECT_EQ(b.p, nullptr);
        CComPtr<IErrorInfo>& alias = a; // self-assignment through a reference
        a = alias;
        EXPECT_EQ(object.refs, 3u) << "self-assignment";
        c.Release();
        EXPECT_EQ(c.p, nullptr);
        EXPECT_EQ(object.refs, 2u);

        IErrorInfo* out = nullptr;
        EXPECT_EQ(a.CopyTo(&out), S_OK);
        EXPECT_EQ(object.refs, 3u);
        c.Attach(out);
        EXPECT_EQ(c.Detach(), &object);
        object.Release();

        IErrorInfo** slot = &a;
        EXPECT_EQ(object.refs, 1u) << "operator& lets the held reference go";
        EXPECT_EQ(*slot, nullptr);
    }
    EXPECT_EQ(object.refs, 1u);
}

// Moving or attaching a reference to the object a pointer already holds
// leaves one reference, not two.
TEST(CComPtr, TakingOverAReferenceToTheSameObjectKeepsOne)
{
    Counted object;
    {
        CComPtr<IErrorInfo> a(&object);
        CComPtr<IErrorInfo> b(&object);
        EXPECT_EQ(object.refs, 3u);
        a = std::move(b);
        EXPECT_EQ(object.refs, 2u);
        object.AddRef();
        a.Attach(&object);
        EXPECT_EQ(object.refs, 2u);

        IErrorInfoPtr c(&object);
        IErrorInfoPtr d(&object);
        EXPECT_EQ(object.refs, 4u);
        c = std::move(d);
        EXPECT_EQ(object.refs, 3u);
        object.AddRef();
        c.Attach(&object);
        EXPECT_EQ(object.refs, 3u);
    }
    EXPECT_EQ(object.refs, 1u);
}

TEST(CComPtr, QueriesOtherInterfaces)
{
    Counted object;
    {
        CComPtr<IErrorInfo> info(&object);
        CComPtr<IUnknown> unknown;
        EXPECT_EQ(info.QueryInterface(&unknown.p), S_OK);
        CComPtr<ICatInformation> none;
        EXPECT_EQ(info.QueryInterface(&none.p), E_NOINTERFACE);
        EXPECT_EQ(none.p, nullptr);

        CComQIPtr<IErrorInfo> viaUnknown(unknown.p);
        EXPECT_EQ(viaUnknown.p, static_cast<IErrorInfo*>(&object));
        CComQIPtr<ICatInformation> missing(unknown.p);
        EXPECT_EQ(missing.p, nullptr);
        EXPECT_EQ(object.refs, 4u);
    }
    EXPECT_EQ(object.refs, 1u);
}

TEST(ComPtrT, EmptyPointerRaisesEPointer)
{
    IErrorInfoPtr empty;
    try {
        DWORD context;
        empty->GetHelpContext(&context);
        ADD_FAILURE() << "did not raise";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), E_POINTER);
    }
    EXPECT_NO_THROW(empty.Release()) << "releasing an empty one is harmless";
}

TEST(ComPtrT, HoldsAndQueries)
{
    Counted object;
    {
        IErrorInfoPtr info(&object);
        EXPECT_EQ(object.refs, 2u);
        DWORD context = 0;
        info->GetHelpContext(&context);
        EXPECT_EQ(context, 9u);

        ComPtrT<IUnknown> unknown(info.GetInterfacePtr());
        EXPECT_EQ(object.refs, 3u) << "asked for IUnknown";
        ICatInformationPtr missing(info.GetInterfacePtr());
        EXPECT_TRUE(!missing);
        IErrorInfoPtr again;
        again = unknown.GetInterfacePtr();
        EXPECT_EQ(again.GetInterfacePtr(), &object);
        again = nullptr;
        EXPECT_EQ(object.refs, 3u);

        IErrorInfo** slot = &info;
        EXPECT_EQ(*slot, nullptr);
        EXPECT_EQ(object.refs, 2u);
    }
    EXPECT_EQ(object.refs, 1u);
}

} // namespace
