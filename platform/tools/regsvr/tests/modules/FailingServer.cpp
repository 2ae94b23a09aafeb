// A server module whose registrar script is malformed, so that its
// DllRegisterServer fails with error info.
#include "com/server/Server.h"

namespace {

inline constexpr CLSID CLSID_Failing = guidOf("7A0C1E40-5B3D-4F6A-8C21-9D0E1F2A3B01");
inline constexpr IID IID_IFailing = guidOf("7A0C1E41-5B3D-4F6A-8C21-9D0E1F2A3B01");

class CFailing : public CComObjectRootEx<CComSingleThreadModel>,
                 public CComCoClass<CFailing, &CLSID_Failing>,
                 public ISupportErrorInfoImpl<&IID_IFailing> {
public:
    DECLARE_REGISTRY_RESOURCEID(101)
    BEGIN_COM_MAP(CFailing)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
    END_COM_MAP()
};

} // namespace

BEGIN_OBJECT_MAP(ObjectMap)
    OBJECT_ENTRY(CLSID_Failing, CFailing)
END_OBJECT_MAP()

CComModule _Module(ObjectMap);

COMSERVER_EXPORTS(_Module)
