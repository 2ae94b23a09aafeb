// The scoped environment variable.
#include "testing/ScopedEnvironment.h"

#include <cstdlib>
#include <utility>

namespace testsupport {

namespace {

void assign(const std::string& name, const std::optional<std::string>& value)
{
    if (value)
        setenv(name.c_str(), value->c_str(), 1);
    else
        unsetenv(name.c_str());
}

} // namespace

ScopedEnvironment::ScopedEnvironment(std::string name, const std::optional<std::string>& value)
    : m_name(std::move(name))
{
    if (const char* old = std::getenv(m_name.c_str()))
        m_old = old;
    assign(m_name, value);
}

ScopedEnvironment::~ScopedEnvironment()
{
    assign(m_name, m_old);
}

void ScopedEnvironment::set(const std::optional<std::string>& value)
{
    assign(m_name, value);
}

} // namespace testsupport
