// An environment variable set for a scope: the old value, or its absence,
// comes back when the object goes, so that no test leaves the next one a
// changed environment.
//
//   testsupport::ScopedEnvironment data("XDG_DATA_HOME", (folder / "data").string());
//   testsupport::ScopedEnvironment noHome("HOME", std::nullopt);   // unset
#pragma once

#include <optional>
#include <string>

namespace testsupport {

class ScopedEnvironment {
public:
    // Sets name to value, or removes it when value is empty (nullopt).
    ScopedEnvironment(std::string name, const std::optional<std::string>& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    // Changes the variable again; the value before the object came is still
    // the one restored.
    void set(const std::optional<std::string>& value);

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

} // namespace testsupport
