// Category maps: the component categories a class implements or requires,
// registered with the class after its registrar script and removed before
// it. The categories themselves are neither created nor removed here.
#pragma once

#include "com/Types.h"

namespace comserver {

enum class CategoryKind { End, Implemented, Required };

struct CategoryMapEntry {
    CategoryKind kind;
    const CATID* catid;
};

// Registers (or removes) the class's implemented and required categories
// through the component categories manager. S_OK for a null map.
HRESULT registerClassCategories(REFCLSID clsid, const CategoryMapEntry* map, bool reg);

} // namespace comserver

// Inside a class:
//   BEGIN_CATEGORY_MAP(CMyClass)
//       IMPLEMENTED_CATEGORY(CATID_Converters)
//   END_CATEGORY_MAP()
#define BEGIN_CATEGORY_MAP(x)                                                                      \
public:                                                                                            \
    static const ::comserver::CategoryMapEntry* GetCategoryMap()                                   \
    {                                                                                              \
        static const ::comserver::CategoryMapEntry map[] = {
#define IMPLEMENTED_CATEGORY(catid) {::comserver::CategoryKind::Implemented, &(catid)},
#define REQUIRED_CATEGORY(catid) {::comserver::CategoryKind::Required, &(catid)},
#define END_CATEGORY_MAP()                                                                         \
    {                                                                                              \
        ::comserver::CategoryKind::End, nullptr                                                    \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    return map;                                                                                    \
    }
