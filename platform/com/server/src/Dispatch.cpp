// IDispatch from a type-library description: name look-up and Invoke.
#include "com/server/DispatchImpl.h"

#include "com/Bstr.h"
#include "com/CodePage.h"
#include "com/Runtime.h"

#include <cctype>
#include <new>
#include <vector>

namespace comserver {

namespace {

bool sameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool kindMatches(MemberKind kind, WORD wFlags)
{
    switch (kind) {
    case MemberKind::Method:
        return (wFlags & DISPATCH_METHOD) != 0;
    case MemberKind::PropertyGet:
        return (wFlags & DISPATCH_PROPERTYGET) != 0;
    case MemberKind::PropertyPut:
        return (wFlags & DISPATCH_PROPERTYPUT) != 0;
    }
    return false;
}

const MemberDesc* findMember(const InterfaceDesc& desc, DISPID dispid, WORD wFlags)
{
    for (const MemberDesc& member : desc.members)
        if (member.dispid == dispid && kindMatches(member.kind, wFlags))
            return &member;
    return nullptr;
}

// The argument VARIANTs of one call, in declaration order; those converted
// here are cleared at the end. An argument that already has its parameter's
// type is the caller's VARIANT copied as it is (an in-argument is the
// caller's for the call's duration and the member never frees it), and
// by-reference ones point at the caller's storage. Up to kInline arguments
// live on the stack, so that a call allocates nothing of its own.
class CallArguments {
public:
    explicit CallArguments(std::size_t count) : m_count(count)
    {
        if (count > kInline) {
            m_heap.assign(count, VARIANT{});
            m_heapOwned.assign(count, false);
            return;
        }
        for (std::size_t i = 0; i < count; ++i) { // only the ones used
            m_inline[i] = VARIANT{};
            m_inlineOwned[i] = false;
        }
    }
    ~CallArguments()
    {
        for (std::size_t i = 0; i < m_count; ++i)
            if (owned(i))
                VariantClear(&(*this)[i]);
        VariantClear(&m_result);
    }
    CallArguments(const CallArguments&) = delete;
    CallArguments& operator=(const CallArguments&) = delete;

    VARIANT* data() { return m_count > kInline ? m_heap.data() : m_inline; }
    VARIANT& operator[](std::size_t i) { return data()[i]; }
    void own(std::size_t i)
    {
        if (m_count > kInline)
            m_heapOwned[i] = true;
        else
            m_inlineOwned[i] = true;
    }
    VARIANT& result() { return m_result; }

private:
    static constexpr std::size_t kInline = 8;

    bool owned(std::size_t i) const
    {
        return m_count > kInline ? m_heapOwned[i] : m_inlineOwned[i];
    }

    std::size_t m_count;
    VARIANT m_inline[kInline];
    bool m_inlineOwned[kInline];
    std::vector<VARIANT> m_heap;
    std::vector<bool> m_heapOwned;
    VARIANT m_result{};
};

void fillException(EXCEPINFO* excepInfo, IErrorInfo* info, HRESULT hr)
{
    *excepInfo = EXCEPINFO{};
    info->GetSource(&excepInfo->bstrSource);
    info->GetDescription(&excepInfo->bstrDescription);
    info->GetHelpFile(&excepInfo->bstrHelpFile);
    info->GetHelpContext(&excepInfo->dwHelpContext);
    excepInfo->scode = hr;
}

HRESULT invokeMember(const MemberDesc& member, void* object, DISPPARAMS* params,
                     VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    UINT expected = 0;
    for (const ParamDesc& param : member.params)
        if (!(param.flags & ParamRetval))
            ++expected;
    if (params->cArgs != expected)
        return DISP_E_BADPARAMCOUNT;
    if (params->cArgs > 0 && params->rgvarg == nullptr)
        return E_INVALIDARG;

    CallArguments args(member.params.size());
    bool hasResult = false;
    UINT position = 0; // the argument's place in declaration order
    for (std::size_t i = 0; i < member.params.size(); ++i) {
        const ParamDesc& param = member.params[i];
        if (param.flags & ParamRetval) {
            args.result().vt = static_cast<VARTYPE>(param.vt & ~VT_BYREF);
            args[i].vt = param.vt;
            args[i].byref = &args.result().lVal;
            hasResult = true;
            continue;
        }
        UINT index = params->cArgs - 1 - position++;
        VARIANT& given = params->rgvarg[index];
        HRESULT hr;
        if (param.flags & ParamOut) {
            hr = given.vt == param.vt && given.byref != nullptr ? S_OK : DISP_E_TYPEMISMATCH;
            args[i].vt = param.vt;
            args[i].byref = given.byref;
        } else if (given.vt == param.vt) {
            args[i] = given; // already of its type: nothing to convert or to free
            hr = S_OK;
        } else {
            hr = VariantChangeType(&args[i], &given, 0, param.vt);
            args.own(i);
        }
        if (FAILED(hr)) {
            if (puArgErr != nullptr)
                *puArgErr = index;
            return DISP_E_TYPEMISMATCH;
        }
    }

    // Error info left from an earlier call must not be taken for this one's.
    SetErrorInfo(0, nullptr);
    HRESULT hr = member.invoke(object, args.data());
    if (FAILED(hr)) {
        IErrorInfo* info = nullptr;
        if (GetErrorInfo(0, &info) == S_OK && info != nullptr) {
            if (pExcepInfo != nullptr) {
                fillException(pExcepInfo, info, hr);
                info->Release();
                return DISP_E_EXCEPTION;
            }
            SetErrorInfo(0, info);
            info->Release();
        }
        return hr;
    }
    if (hasResult && pVarResult != nullptr) {
        *pVarResult = args.result();
        args.result() = VARIANT{};
    }
    return hr;
}

} // namespace

HRESULT dispatchGetTypeInfoCount(const InterfaceDesc* desc, UINT* pctinfo)
{
    if (pctinfo == nullptr)
        return E_POINTER;
    *pctinfo = desc != nullptr ? 1 : 0;
    return S_OK;
}

HRESULT dispatchGetTypeInfo(const InterfaceDesc* desc, UINT iTInfo, ITypeInfo** ppTInfo)
{
    if (ppTInfo == nullptr)
        return E_POINTER;
    *ppTInfo = nullptr;
    return desc != nullptr && iTInfo == 0 ? E_NOTIMPL : DISP_E_BADINDEX;
}

HRESULT dispatchGetIDsOfNames(const InterfaceDesc* desc, REFIID riid, LPOLESTR* rgszNames,
                              UINT cNames, DISPID* rgDispId)
{
    if (desc == nullptr)
        return TYPE_E_ELEMENTNOTFOUND;
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (rgszNames == nullptr || rgDispId == nullptr)
        return E_POINTER;
    if (cNames == 0)
        return E_INVALIDARG;
    try {
        for (UINT i = 0; i < cNames; ++i)
            rgDispId[i] = DISPID_UNKNOWN;
        if (rgszNames[0] == nullptr)
            return DISP_E_UNKNOWNNAME;
        std::string name = narrowFromWide(rgszNames[0]);
        for (const MemberDesc& member : desc->members) {
            if (sameName(member.name, name)) {
                rgDispId[0] = member.dispid;
                // Parameter names are not answered: Invoke takes no named arguments.
                return cNames == 1 ? S_OK : DISP_E_UNKNOWNNAME;
            }
        }
        return DISP_E_UNKNOWNNAME;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT dispatchInvoke(const InterfaceDesc* desc, void* object, DISPID dispIdMember, REFIID riid,
                       WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
                       EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    if (desc == nullptr)
        return TYPE_E_ELEMENTNOTFOUND;
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (pDispParams == nullptr)
        return E_INVALIDARG;
    const MemberDesc* member = findMember(*desc, dispIdMember, wFlags);
    if (member == nullptr)
        return DISP_E_MEMBERNOTFOUND;
    if (pDispParams->cNamedArgs > 0) {
        bool putValue = member->kind == MemberKind::PropertyPut && pDispParams->cNamedArgs == 1 &&
                        pDispParams->rgdispidNamedArgs != nullptr &&
                        pDispParams->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
        if (!putValue)
            return DISP_E_NONAMEDARGS;
    }
    try {
        return invokeMember(*member, object, pDispParams, pVarResult, pExcepInfo, puArgErr);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace comserver
