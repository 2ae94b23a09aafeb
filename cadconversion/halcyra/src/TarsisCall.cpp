// Calls on the Tarsis servers.
#include "TarsisCall.h"

#include "com/ComError.h"
#include "com/Runtime.h"
#include "vlmrexcept/CHResultException.h"
#include "vlmrexcept/CLog.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {
VARIANT variantOf(VARTYPE vt)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    return v;
}

// Clears the result whatever happens.
struct Result : VARIANT {
    Result() { VariantInit(this); }
    Result(const Result&) = delete;
    ~Result() { VariantClear(this); }
};
} // namespace

VARIANT argBstr(BSTR value)
{
    VARIANT v = variantOf(VT_BSTR);
    v.bstrVal = value;
    return v;
}

VARIANT argI2(SHORT value)
{
    VARIANT v = variantOf(VT_I2);
    v.iVal = value;
    return v;
}

VARIANT argI4(LONG value)
{
    VARIANT v = variantOf(VT_I4);
    v.lVal = value;
    return v;
}

VARIANT argR8(double value)
{
    VARIANT v = variantOf(VT_R8);
    v.dblVal = value;
    return v;
}

VARIANT argR8Out(double* value)
{
    VARIANT v = variantOf(VT_R8 | VT_BYREF);
    v.pdblVal = value;
    return v;
}

VARIANT argBstrOut(BSTR* value)
{
    VARIANT v = variantOf(VT_BSTR | VT_BYREF);
    v.pbstrVal = value;
    return v;
}

LONG invokeTarsis(IDispatch* server, DISPID dispid, std::initializer_list<VARIANT> args)
{
    return invokeTarsis(server, dispid, std::span<const VARIANT>(args.begin(), args.size()));
}

LONG invokeTarsis(IDispatch* server, DISPID dispid, std::span<const VARIANT> args)
{
    if (!server)
        _com_issue_error(E_POINTER);
    // Invoke takes the arguments last one first; the longest call has 14,
    // so they are turned round on the stack.
    constexpr std::size_t kMostArguments = 16;
    std::array<VARIANT, kMostArguments> onStack;
    std::vector<VARIANT> onHeap;
    VARIANT* rgvarg = onStack.data();
    if (args.size() > kMostArguments) {
        onHeap.resize(args.size());
        rgvarg = onHeap.data();
    }
    std::reverse_copy(args.begin(), args.end(), rgvarg);
    DISPPARAMS params{rgvarg, nullptr, static_cast<UINT>(args.size()), 0};
    Result result;
    // Error info that an earlier call left must not stand for this one.
    SetErrorInfo(0, nullptr);
    HRESULT hr =
        server->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
    if (FAILED(hr))
        _com_issue_error(hr);
    if (result.vt != VT_I4) {
        hr = VariantChangeType(&result, &result, 0, VT_I4);
        if (FAILED(hr))
            _com_issue_error(hr);
    }
    return result.lVal;
}

void checkTarsisResult(LONG result, const char* file, int line)
{
    if (result >= 0)
        return;
    // What the server said about its failure (the database's own text),
    // taken before anything else can replace it.
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK)
        info = nullptr;
    try {
        CLog::ThrowHResult(file, line, result);
    } catch (const CHResultException&) {
        // Reported as the COM error of the server's result, with its text.
        throw _com_error(result, info, false);
    }
}
