// The exception that carries a registry status code (and, for failures the
// code alone does not explain, a text) from inside the registry to the edge
// of its API, where it becomes the return value and registryLastError().
#pragma once

#include "registry/Registry.h"

#include <stdexcept>
#include <string>

namespace registry {

class RegistryError : public std::runtime_error {
public:
    explicit RegistryError(LSTATUS status, const std::string& message = {})
        : std::runtime_error(message), m_status(status)
    {
    }
    LSTATUS status() const { return m_status; }

private:
    LSTATUS m_status;
};

} // namespace registry
