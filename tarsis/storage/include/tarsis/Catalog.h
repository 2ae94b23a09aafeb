// The built-in catalog: the shapes and machines loaded into every new database.
// Its text format and key rule are described in tarsis/catalog/catalog.csv.
#pragma once

#include "tarsis/Records.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarsis {

struct Catalog {
    std::vector<ShapeRecord> shapes;
    std::vector<MachineRecord> machines;
};

class CatalogError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads catalog text; a bad line throws CatalogError naming source and line.
Catalog parseCatalog(std::string_view text, const std::string& sourceName);

// The catalog built into this program.
const Catalog& builtInCatalog();

} // namespace tarsis
