// The storage interface of the Tarsis database. The servers and the tool use
// only this; SQLite is one implementation (SqliteStore.h), and a server
// database can be added beside it.
//
// Every method either does all it says or throws StoreError and leaves the
// database as it was. An object is used by one thread at a time.
#pragma once

#include "tarsis/Records.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarsis {

class TarsisStore {
public:
    virtual ~TarsisStore() = default;

    // Where the data lives, for messages.
    virtual std::string location() const = 0;

    // Reads all of the stored data and throws StoreError Damaged, with what
    // is wrong, when any of it is damaged. Slow on a large database: made on
    // request, never by the other methods, which report damage they meet.
    virtual void checkIntegrity() = 0;

    // Writes the part and all its entries in one transaction, replacing a
    // stored part with the same job, group and mark.
    virtual void savePart(const PartRecord& part) = 0;
    virtual std::optional<PartRecord> findPart(const PartKey& key) = 0;
    // The shape of a stored part, without reading its operations.
    virtual std::optional<ShapeKey> findPartShape(const PartKey& key) = 0;
    // Ordered by job, group and mark; all jobs when job is not given.
    virtual std::vector<PartSummary> listParts(const std::optional<std::string>& job) = 0;

    // As savePart, for a mult and its pieces.
    virtual void saveMult(const MultRecord& mult) = 0;
    virtual std::optional<MultRecord> findMult(const PartKey& key) = 0;
    virtual std::vector<MultSummary> listMults() = 0;

    // Shape and machine names compare without regard to case.
    virtual std::optional<ShapeRecord> findShape(const ShapeKey& key) = 0;
    virtual std::vector<ShapeRecord> listShapes() = 0;   // by section, then description
    virtual void addShape(const ShapeRecord& shape) = 0; // Conflict when the key exists
    virtual void removeShape(const ShapeKey& key) = 0;   // NotFound when it does not

    virtual bool machineExists(std::string_view name) = 0;
    virtual std::vector<MachineRecord> listMachines() = 0;     // by name
    virtual void addMachine(const MachineRecord& machine) = 0; // Conflict when it exists
    virtual void removeMachine(std::string_view name) = 0;     // NotFound when it does not
};

} // namespace tarsis
