// Type-library descriptions: C++ data compiled into a server that describes
// a library, its interfaces and members, and its coclasses. A member's
// parameter types come from the C++ member function it names, so the two
// cannot drift apart, and each member carries the invoker IDispatchImpl
// calls:
//
//   const comserver::TypeLibrary& halcyraTypeLibrary()
//   {
//       using namespace comserver;
//       static const TypeLibrary library{
//           LIBID_HALCYRALib, 1, 0, "HalcyraLib", "Halcyra 1.0 Type Library",
//           {dualInterface<IVLMRConvert>("IVLMRConvert", "IVLMRConvert Interface", {
//                dispMethod<&IVLMRConvert::SetFile>(1, "SetFile", {"bstrFilename"}),
//                dispMethod<&IVLMRConvert::ReadPart>(2, "ReadPart",
//                                                    {"ppIUnkCADPart", "bIsMetric",
//                                                    "bIsToolMetric"}),
//                dispPropGet<&IVLMRConvert::get_ConversionName>(3, "ConversionName", {"pVal"}),
//            }),
//            customInterface<ICADPart2>("ICADPart2", "ICADPart2 Interface")},
//           {coClass(CLSID_CADPart, "CADPart", {IID_ICADPart})}};
//       return library;
//   }
//
// Parameter types: SHORT (VT_I2), LONG/INT/BOOL (VT_I4), double (VT_R8),
// BSTR, IUnknown*, IDispatch*, BYTE/unsigned char (VT_UI1), char and
// signed char (VT_I1), and pointers to these (VT_BYREF, out parameters).
// A property get's last parameter is its retval; a method's last pointer
// parameter is a retval when `retval` is passed. VARIANT_BOOL is SHORT and
// DATE is double here, so they travel as VT_I2 and VT_R8. A custom
// (IUnknown) interface may be described without members: only its
// registration uses the description.
// A library is one module's data: a server that implements another
// server's dual interface declares that library too (TYPELIB_RESOURCE with
// an id other than 1, which is never registered by this module).
#pragma once

#include "com/Interfaces.h"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace comserver {

enum class MemberKind { Method, PropertyGet, PropertyPut };

enum ParamFlags : unsigned { ParamIn = 1, ParamOut = 2, ParamRetval = 4 };

struct ParamDesc {
    std::string name; // may be empty (property puts)
    VARTYPE vt;       // VT_BYREF|type for out parameters
    unsigned flags;
};

// Calls the member on object with one VARIANT per parameter, in
// declaration order, each holding the value (or the pointer) to pass.
using Invoker = HRESULT (*)(void* object, VARIANT* args);

struct MemberDesc {
    DISPID dispid;
    std::string name;
    MemberKind kind;
    std::vector<ParamDesc> params;
    Invoker invoke;
};

// A member of C++ type C: an interface takes only members of its own type.
template <class C>
struct Member : MemberDesc {
};

enum class InterfaceKind {
    Custom,      // derives from IUnknown; described, not dispatched
    Dual,        // derives from IDispatch; dispatched by IDispatchImpl
    DispatchOnly // a dispinterface implemented by a class (IDispatchOnlyImpl)
};

struct InterfaceDesc {
    IID iid;
    std::string name;
    std::string helpString;
    InterfaceKind kind;
    const void* cppType; // typeTag<> of the C++ type the members belong to
    std::vector<MemberDesc> members;
};

struct CoClassDesc {
    CLSID clsid;
    std::string name;
    std::string helpString;
    std::vector<IID> interfaces; // the first is the default
};

struct TypeLibrary {
    GUID libid;
    WORD major;
    WORD minor;
    std::string name;
    std::string helpString;
    std::vector<InterfaceDesc> interfaces;
    std::vector<CoClassDesc> coclasses;
};

template <class T>
inline constexpr char typeTagOf = 0;
template <class T>
constexpr const void* typeTag()
{
    return &typeTagOf<T>;
}

// ---- parameter types -------------------------------------------------------

template <class>
inline constexpr bool unsupportedType = false;

template <class A>
struct VarTraits {
    static_assert(unsupportedType<A>, "this parameter type has no automation type");
};

#define COMSERVER_VAR_TRAITS(Type, Vt, field)                                                      \
    template <>                                                                                    \
    struct VarTraits<Type> {                                                                       \
        static constexpr VARTYPE vt = Vt;                                                          \
        static Type value(const VARIANT& v) { return v.field; }                                    \
    };                                                                                             \
    template <>                                                                                    \
    struct VarTraits<Type*> {                                                                      \
        static constexpr VARTYPE vt = VT_BYREF | Vt;                                               \
        static Type* value(const VARIANT& v) { return v.p##field; }                                \
    };
COMSERVER_VAR_TRAITS(SHORT, VT_I2, iVal)
COMSERVER_VAR_TRAITS(LONG, VT_I4, lVal)
COMSERVER_VAR_TRAITS(double, VT_R8, dblVal)
COMSERVER_VAR_TRAITS(BSTR, VT_BSTR, bstrVal)
COMSERVER_VAR_TRAITS(BYTE, VT_UI1, bVal)
COMSERVER_VAR_TRAITS(CHAR, VT_I1, cVal)
#undef COMSERVER_VAR_TRAITS

template <>
struct VarTraits<IUnknown*> {
    static constexpr VARTYPE vt = VT_UNKNOWN;
    static IUnknown* value(const VARIANT& v) { return v.punkVal; }
};
template <>
struct VarTraits<IUnknown**> {
    static constexpr VARTYPE vt = VT_BYREF | VT_UNKNOWN;
    static IUnknown** value(const VARIANT& v) { return v.ppunkVal; }
};
template <>
struct VarTraits<IDispatch*> {
    static constexpr VARTYPE vt = VT_DISPATCH;
    static IDispatch* value(const VARIANT& v) { return v.pdispVal; }
};
template <>
struct VarTraits<IDispatch**> {
    static constexpr VARTYPE vt = VT_BYREF | VT_DISPATCH;
    static IDispatch** value(const VARIANT& v) { return v.ppdispVal; }
};
// signed char travels as a VT_I1 char.
template <>
struct VarTraits<signed char> {
    static constexpr VARTYPE vt = VT_I1;
    static signed char value(const VARIANT& v) { return static_cast<signed char>(v.cVal); }
};
template <>
struct VarTraits<signed char*> {
    static constexpr VARTYPE vt = VT_BYREF | VT_I1;
    static signed char* value(const VARIANT& v) { return reinterpret_cast<signed char*>(v.pcVal); }
};

// ---- members -----------------------------------------------------------------

template <auto pmf, class F = decltype(pmf)>
struct MemberCall {
    static_assert(unsupportedType<F>, "a member must be an HRESULT-returning member function");
};

template <auto pmf, class C, class... A>
struct MemberCall<pmf, HRESULT (C::*)(A...)> {
    using Class = C;
    static constexpr std::size_t arity = sizeof...(A);
    static constexpr bool lastIsPointer = [] {
        if constexpr (sizeof...(A) == 0)
            return false;
        else
            return std::is_pointer_v<std::tuple_element_t<sizeof...(A) - 1, std::tuple<A...>>>;
    }();

    static std::vector<ParamDesc> params(const char* const* names, bool retvalLast)
    {
        std::vector<ParamDesc> result{
            ParamDesc{"", VarTraits<A>::vt, (VarTraits<A>::vt & VT_BYREF) ? ParamOut : ParamIn}...};
        for (std::size_t i = 0; names != nullptr && i < result.size(); ++i)
            result[i].name = names[i];
        if (retvalLast)
            result.back().flags = ParamOut | ParamRetval;
        return result;
    }

    static HRESULT invoke(void* object, VARIANT* args)
    {
        return call(object, args, std::index_sequence_for<A...>{});
    }

    template <std::size_t... I>
    static HRESULT call(void* object, VARIANT* args, std::index_sequence<I...>)
    {
        return (static_cast<C*>(object)->*pmf)(VarTraits<A>::value(args[I])...);
    }
};

template <auto pmf>
using MemberClass = typename MemberCall<pmf>::Class;

struct RetvalTag {};
inline constexpr RetvalTag retval{};

template <auto pmf>
Member<MemberClass<pmf>> makeMember(DISPID dispid, const char* name, MemberKind kind,
                                    const char* const* names, bool retvalLast)
{
    using Call = MemberCall<pmf>;
    Member<MemberClass<pmf>> member;
    member.dispid = dispid;
    member.name = name;
    member.kind = kind;
    member.params = Call::params(names, retvalLast);
    member.invoke = &Call::invoke;
    return member;
}

template <auto pmf, std::size_t N>
constexpr void checkNames()
{
    static_assert(N == MemberCall<pmf>::arity, "one name per parameter");
}

template <auto pmf>
Member<MemberClass<pmf>> dispMethod(DISPID dispid, const char* name)
{
    return makeMember<pmf>(dispid, name, MemberKind::Method, nullptr, false);
}
template <auto pmf, std::size_t N>
Member<MemberClass<pmf>> dispMethod(DISPID dispid, const char* name, const char* const (&names)[N])
{
    checkNames<pmf, N>();
    return makeMember<pmf>(dispid, name, MemberKind::Method, names, false);
}
template <auto pmf, std::size_t N>
Member<MemberClass<pmf>> dispMethod(DISPID dispid, const char* name, const char* const (&names)[N],
                                    RetvalTag)
{
    checkNames<pmf, N>();
    static_assert(MemberCall<pmf>::lastIsPointer, "a retval is a pointer parameter");
    return makeMember<pmf>(dispid, name, MemberKind::Method, names, true);
}

template <auto pmf>
Member<MemberClass<pmf>> dispPropGet(DISPID dispid, const char* name)
{
    static_assert(MemberCall<pmf>::lastIsPointer, "a property get ends with its retval pointer");
    return makeMember<pmf>(dispid, name, MemberKind::PropertyGet, nullptr, true);
}
template <auto pmf, std::size_t N>
Member<MemberClass<pmf>> dispPropGet(DISPID dispid, const char* name, const char* const (&names)[N])
{
    checkNames<pmf, N>();
    static_assert(MemberCall<pmf>::lastIsPointer, "a property get ends with its retval pointer");
    return makeMember<pmf>(dispid, name, MemberKind::PropertyGet, names, true);
}

template <auto pmf>
Member<MemberClass<pmf>> dispPropPut(DISPID dispid, const char* name)
{
    static_assert(MemberCall<pmf>::arity > 0, "a property put takes the value");
    return makeMember<pmf>(dispid, name, MemberKind::PropertyPut, nullptr, false);
}
template <auto pmf, std::size_t N>
Member<MemberClass<pmf>> dispPropPut(DISPID dispid, const char* name, const char* const (&names)[N])
{
    checkNames<pmf, N>();
    return makeMember<pmf>(dispid, name, MemberKind::PropertyPut, names, false);
}

// ---- interfaces and coclasses -------------------------------------------------

template <class C>
InterfaceDesc makeInterface(const IID& iid, std::string name, std::string helpString,
                            InterfaceKind kind, std::initializer_list<Member<C>> members)
{
    return InterfaceDesc{
        iid,  std::move(name), std::move(helpString),
        kind, typeTag<C>(),    std::vector<MemberDesc>(members.begin(), members.end())};
}

// A dual interface I (derived from IDispatch, with COM_DECLARE_IID).
template <class I>
InterfaceDesc dualInterface(std::string name, std::string helpString,
                            std::initializer_list<Member<I>> members)
{
    static_assert(std::is_base_of_v<IDispatch, I>, "a dual interface derives from IDispatch");
    return makeInterface<I>(uuidof<I>(), std::move(name), std::move(helpString),
                            InterfaceKind::Dual, members);
}

// An interface I derived from IUnknown: registered, never dispatched.
template <class I>
InterfaceDesc customInterface(std::string name, std::string helpString,
                              std::initializer_list<Member<I>> members = {})
{
    return makeInterface<I>(uuidof<I>(), std::move(name), std::move(helpString),
                            InterfaceKind::Custom, members);
}

// A dispinterface whose members are member functions of the implementing
// class T (see IDispatchOnlyImpl).
template <class T>
InterfaceDesc dispInterface(const IID& iid, std::string name, std::string helpString,
                            std::initializer_list<Member<T>> members)
{
    return makeInterface<T>(iid, std::move(name), std::move(helpString),
                            InterfaceKind::DispatchOnly, members);
}

inline CoClassDesc coClass(const CLSID& clsid, std::string name,
                           std::initializer_list<IID> interfaces, std::string helpString = {})
{
    return CoClassDesc{clsid, std::move(name), std::move(helpString), std::vector<IID>(interfaces)};
}

// The interface iid of the module's library libid (major version equal,
// minor at least the one asked for), when its members belong to cppType;
// null otherwise.
const InterfaceDesc* findInterface(REFGUID libid, WORD major, WORD minor, REFIID iid,
                                   const void* cppType);

// The registration script of a library: HKCR\TypeLib\{libid}\<ver> and an
// HKCR\Interface\{iid} key per interface. Registered for this module's path.
std::string typeLibraryScript(const TypeLibrary& library, const std::string& modulePath);

} // namespace comserver
