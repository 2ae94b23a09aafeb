// The built-in catalog holds every key the machine-file converters give the
// common American shapes: from the designation (profile codes B, C, MC)
// and from the header dimensions (profile codes W, HSS, L, FB), the
// dimensions written in whole tenths of a millimetre as the files hold them.
#include "SectionDesignation.h"

#include "tarsis/Catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

using tarsis::ShapeRecord;

bool listed(const CString& section, const CString& description)
{
    const auto& shapes = tarsis::builtInCatalog().shapes;
    return std::any_of(shapes.begin(), shapes.end(), [&](const ShapeRecord& shape) {
        return shape.key.section == static_cast<const char*>(section) &&
               shape.key.description == static_cast<const char*>(description);
    });
}

// A dimension as a machine file holds it (whole tenths of a millimetre) and
// as the reader makes it (inches).
double asRead(double inches)
{
    return std::floor(inches * 254 + 0.5) / 254;
}

void expectListed(const char* code, const ShapeRecord& shape, double depth, double width,
                  double thickness)
{
    CString section;
    CString description;
    BuildSectionSizeText(code, asRead(depth), asRead(width), asRead(thickness), &description,
                         &section);
    EXPECT_TRUE(listed(section, description))
        << shape.name << " with profile code " << code << ": " << section << " / " << description;
}

TEST(TobrennCatalog, EveryCommonShapeIsFoundUnderTheMachineFileKeys)
{
    int checked = 0;
    for (const ShapeRecord& shape : tarsis::builtInCatalog().shapes) {
        if (shape.units != tarsis::Units::Inch)
            continue;
        const std::string& name = shape.name;
        const bool designated = name.rfind("W", 0) == 0 || name.rfind("C", 0) == 0 ||
                                name.rfind("MC", 0) == 0 || name.rfind("L", 0) == 0;
        if (designated && name.rfind("WT", 0) != 0) {
            CString section;
            CString description;
            ASSERT_EQ(ParseSectionDesignation(name.c_str(), &section, &description), 0) << name;
            EXPECT_TRUE(listed(section, description))
                << name << " by designation: " << section << " / " << description;
            ++checked;
        }
        if (name.rfind("W", 0) == 0 && name.rfind("WT", 0) != 0)
            expectListed("W", shape, shape.depth, shape.flangeWidth, shape.webThickness);
        if (name.rfind("HSS", 0) == 0)
            expectListed("HSS", shape, shape.depth, shape.flangeWidth, shape.webThickness);
        if (name.rfind("L", 0) == 0)
            expectListed("L", shape, shape.depth, shape.flangeWidth, shape.webThickness);
        if (name.rfind("FB", 0) == 0)
            expectListed("FB", shape, shape.depth, 0, shape.webThickness);
    }
    EXPECT_GT(checked, 150) << "the catalog's American shapes";
}

} // namespace
