// The built-in catalog: the keys the converters produce are there with their
// dimensions, and a bad catalog line is reported with its line number.
#include "tarsis/Catalog.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarsis {
namespace {

const ShapeRecord* find(const Catalog& catalog, const std::string& section,
                        const std::string& description)
{
    auto it = std::find_if(catalog.shapes.begin(), catalog.shapes.end(), [&](const ShapeRecord& s) {
        return s.key.section == section && s.key.description == description;
    });
    return it == catalog.shapes.end() ? nullptr : &*it;
}

TEST(BuiltInCatalog, HoldsShapesUnderTheKeysTheConvertersWrite)
{
    struct Case {
        const char* section;
        const char* description;
        const char* name;
        Units units;
        double depth, flangeWidth, weight;
    };
    const Case cases[] = {
        {"W", "1226", "W12X26", Units::Inch, 12.2, 6.49, 26},
        {"W", "810", "W8X10", Units::Inch, 7.89, 3.94, 10},
        {"C", "1015.3", "C10X15.3", Units::Inch, 10, 2.6, 15.3},
        {"MC", "1235", "MC12X35", Units::Inch, 12, 3.77, 35},
        {"L", "43014", "L4X3X1/4", Units::Inch, 4, 3, 5.8},
        {"L", "312312014", "L3-1/2X3-1/2X1/4", Units::Inch, 3.5, 3.5, 5.8},
        {"TS", "6414", "HSS6X4X1/4", Units::Inch, 6, 4, 15.62},
        {"TS", "22316", "HSS2X2X3/16", Units::Inch, 2, 2, 4.32},
        {"WT", "613", "WT6X13", Units::Inch, 6.11, 6.49, 13},
        {"W", "HEA200", "HEA200", Units::Metric, 190, 200, 42.3},
        {"HEB", "300", "HEB300", Units::Metric, 300, 300, 117},
        {"W", "HE300B", "HEB300", Units::Metric, 300, 300, 117},
        {"W", "HE120A", "HEA120", Units::Metric, 114, 120, 19.9},
        {"IPE", "200", "IPE200", Units::Metric, 200, 100, 22.4},
        {"UPN", "160", "UPN160", Units::Metric, 160, 65, 18.8},
    };
    const Catalog& catalog = builtInCatalog();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ShapeRecord* shape = find(catalog, c.section, c.description);
        ASSERT_NE(shape, nullptr);
        EXPECT_EQ(shape->name, c.name);
        EXPECT_EQ(shape->units, c.units);
        EXPECT_DOUBLE_EQ(shape->depth, c.depth);
        EXPECT_DOUBLE_EQ(shape->flangeWidth, c.flangeWidth);
        EXPECT_DOUBLE_EQ(shape->weight, c.weight);
        EXPECT_GT(shape->webThickness, 0);
        EXPECT_GT(shape->flangeThickness, 0);
        EXPECT_GT(shape->surface, 0);
    }
    EXPECT_FALSE(catalog.machines.empty());
}

TEST(BuiltInCatalog, ListsNoPlates)
{
    for (const ShapeRecord& shape : builtInCatalog().shapes)
        EXPECT_NE(shape.key.section, "PL");
}

TEST(CatalogParser, ReadsShapesAndMachinesSkippingCommentsAndBlanks)
{
    Catalog c = parseCatalog(
        "# comment\n\n shape , W , 1226 , W12X26 , inch , 12.2,0.23,6.49,0.38,4.1,26 \r\n"
        "machine,SAW1,Band saw\nmachine,DRILL1,",
        "test.csv");
    ASSERT_EQ(c.shapes.size(), 1u);
    EXPECT_EQ(c.shapes[0].key, (ShapeKey{"W", "1226"}));
    EXPECT_EQ(c.shapes[0].name, "W12X26");
    EXPECT_DOUBLE_EQ(c.shapes[0].flangeThickness, 0.38);
    ASSERT_EQ(c.machines.size(), 2u);
    EXPECT_EQ(c.machines[0].description, "Band saw");
    EXPECT_EQ(c.machines[1].description, "");
}

TEST(CatalogParser, ReportsTheLineOfABadRecord)
{
    const std::string good = "shape,W,1226,W12X26,inch,1,1,1,1,1,1\n";
    struct Case {
        std::string line;
        const char* message;
    };
    const Case cases[] = {
        {"shape,W,1226,W12X26,inch,1,1,1,1,1", "11 fields"},
        {"shape,W,1226,W12X26,feet,1,1,1,1,1,1", "inch or metric"},
        {"shape,W,1227,W12X26,inch,1,x,1,1,1,1", "web thickness 'x'"},
        {"shape,W,1227,W12X26,inch,1,1,-2,1,1,1", "flange width '-2'"},
        {"shape,W,1227,W12X26,inch,1,1,1,1e999,1,1", "flange thickness"},
        {"shape,,1227,W12X26,inch,1,1,1,1,1,1", "empty section"},
        {"shape,w,1226,W12X26,inch,1,1,1,1,1,1", "listed twice"},
        {"machine,,Saw", "empty machine name"},
        {"machine,SAW,a,b", "3 fields"},
        {"plate,PL,1", "unknown record 'plate'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        try {
            parseCatalog(good + c.line + "\n", "test.csv");
            ADD_FAILURE() << "no error";
        } catch (const CatalogError& e) {
            EXPECT_NE(std::string(e.what()).find("test.csv:2: "), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

} // namespace
} // namespace tarsis
