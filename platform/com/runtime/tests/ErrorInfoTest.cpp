// Error information objects and the per-thread slot.
#include "com/Bstr.h"
#include "com/Runtime.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

constexpr GUID kInterface = guidOf("BA2EF011-F351-11D2-A3F9-00A0249F4DED");

IErrorInfo* makeError(const char16_t* description)
{
    ICreateErrorInfo* create = nullptr;
    EXPECT_EQ(CreateErrorInfo(&create), S_OK);
    create->SetDescription(const_cast<LPOLESTR>(description));
    IErrorInfo* info = nullptr;
    EXPECT_EQ(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)), S_OK);
    create->Release();
    return info;
}

std::u16string take(HRESULT (IErrorInfo::*get)(BSTR*), IErrorInfo* info)
{
    BSTR text = nullptr;
    EXPECT_EQ((info->*get)(&text), S_OK);
    std::u16string out(text, SysStringLen(text));
    SysFreeString(text);
    return out;
}

TEST(ErrorInfo, CreatedObjectServesBothInterfaces)
{
    ICreateErrorInfo* create = nullptr;
    ASSERT_EQ(CreateErrorInfo(&create), S_OK);
    EXPECT_EQ(create->SetGUID(kInterface), S_OK);
    EXPECT_EQ(create->SetSource(const_cast<LPOLESTR>(u"Velmora.CADPart.1")), S_OK);
    EXPECT_EQ(create->SetDescription(const_cast<LPOLESTR>(u"Com Error while put_Mark")), S_OK);
    EXPECT_EQ(create->SetHelpFile(nullptr), S_OK);
    EXPECT_EQ(create->SetHelpContext(7), S_OK);

    IErrorInfo* info = nullptr;
    ASSERT_EQ(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)), S_OK);
    IUnknown* a = nullptr;
    IUnknown* b = nullptr;
    create->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&a));
    info->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&b));
    EXPECT_EQ(a, b) << "one identity";
    a->Release();
    b->Release();
    create->Release();

    GUID guid{};
    EXPECT_EQ(info->GetGUID(&guid), S_OK);
    EXPECT_EQ(guid, kInterface);
    EXPECT_EQ(take(&IErrorInfo::GetSource, info), u"Velmora.CADPart.1");
    EXPECT_EQ(take(&IErrorInfo::GetDescription, info), u"Com Error while put_Mark");
    EXPECT_EQ(take(&IErrorInfo::GetHelpFile, info), u"");
    DWORD context = 0;
    EXPECT_EQ(info->GetHelpContext(&context), S_OK);
    EXPECT_EQ(context, 7u);
    EXPECT_EQ(info->Release(), 0u);
}

TEST(ErrorInfo, GetHandsOverAndClears)
{
    IErrorInfo* info = makeError(u"first");
    ASSERT_EQ(SetErrorInfo(0, info), S_OK);
    info->Release();

    IErrorInfo* got = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &got), S_OK);
    EXPECT_EQ(got, info);
    EXPECT_EQ(take(&IErrorInfo::GetDescription, got), u"first");
    EXPECT_EQ(got->Release(), 0u) << "the slot gave its reference away";

    got = reinterpret_cast<IErrorInfo*>(1);
    EXPECT_EQ(GetErrorInfo(0, &got), S_FALSE);
    EXPECT_EQ(got, nullptr);
}

TEST(ErrorInfo, SetReplacesAndNullClears)
{
    IErrorInfo* first = makeError(u"first");
    IErrorInfo* second = makeError(u"second");
    SetErrorInfo(0, first);
    SetErrorInfo(0, second);
    EXPECT_EQ(first->Release(), 0u) << "replaced one is released";
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(second->Release(), 0u) << "cleared one is released";
    IErrorInfo* got = nullptr;
    EXPECT_EQ(GetErrorInfo(0, &got), S_FALSE);
    EXPECT_EQ(GetErrorInfo(0, nullptr), E_POINTER);
}

TEST(ErrorInfo, SlotIsPerThreadAndReleasedAtThreadEnd)
{
    IErrorInfo* mine = makeError(u"main");
    SetErrorInfo(0, mine);
    IErrorInfo* left = makeError(u"left behind");
    std::thread([&] {
        IErrorInfo* got = nullptr;
        EXPECT_EQ(GetErrorInfo(0, &got), S_FALSE) << "other threads see nothing";
        SetErrorInfo(0, left);
    }).join();
    EXPECT_EQ(left->Release(), 0u) << "the ended thread let its reference go";

    IErrorInfo* got = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &got), S_OK);
    EXPECT_EQ(got, mine);
    got->Release();
    EXPECT_EQ(mine->Release(), 0u);
}

TEST(ErrorInfo, ReleasedOnAnotherThread)
{
    IErrorInfo* info = makeError(u"shared");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        info->AddRef();
        threads.emplace_back([info] {
            for (int i = 0; i < 1000; ++i) {
                info->AddRef();
                info->Release();
            }
            info->Release();
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(info->Release(), 0u);
}

} // namespace
