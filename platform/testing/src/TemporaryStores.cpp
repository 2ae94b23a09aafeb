// The temporary registry and database.
#include "testing/TemporaryDatabase.h"
#include "testing/TemporaryRegistry.h"

namespace testsupport {

TemporaryRegistry::TemporaryRegistry(std::string_view prefix)
    : m_folder(prefix), m_variable("VLMR_REGISTRY", directory().string())
{
}

TemporaryDatabase::TemporaryDatabase(std::string_view prefix)
    : m_folder(prefix), m_path((m_folder / "tarsis.db").string()),
      m_variable("TARSIS_DATABASE", m_path)
{
}

} // namespace testsupport
