// The one exception the storage layer throws. Its text names the database
// file and says what went wrong; its kind lets callers choose a result code.
#pragma once

#include <stdexcept>
#include <string>

namespace tarsis {

class StoreError : public std::runtime_error {
public:
    enum class Kind {
        Missing,      // no database file (or an empty one) where one must exist
        Damaged,      // not a database, or it fails its integrity check
        Incompatible, // a database, but not a Tarsis one of this schema version
        Busy,         // locked by another process past the busy timeout
        Full,         // the disk or the database is full
        ReadOnly,     // the file (or its folder) may not be written
        CannotCreate, // a new database (or its folder) cannot be made
        Conflict,     // the record exists already
        NotFound,     // the record to change does not exist
        Failed,       // any other failure
    };

    StoreError(Kind kind, const std::string& message) : std::runtime_error(message), m_kind(kind) {}

    Kind kind() const noexcept { return m_kind; }

private:
    Kind m_kind;
};

} // namespace tarsis
