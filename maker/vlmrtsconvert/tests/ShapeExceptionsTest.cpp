// The shape and unit exceptions: their own kinds within the family.
#include "vlmrtsconvert/ShapeExceptions.h"

#include <gtest/gtest.h>

TEST(ShapeExceptions, DefaultTextsAndCatchingByTheirOwnKind)
{
    EXPECT_STREQ(CUndefinedShapeException().GetMessage(), "Undefined shape. ");
    EXPECT_STREQ(CIllegalUnitException().GetMessage(), "Illegal unit. ");
    try {
        CIllegalUnitException e;
        e.SetMessage("TF Near not allowed on FB");
        throw e;
    } catch (const CUndefinedShapeException&) {
        FAIL() << "caught as the wrong kind";
    } catch (const CIllegalUnitException& e) {
        EXPECT_STREQ(e.GetMessage(), "TF Near not allowed on FB");
        const CvmException& base = e;
        EXPECT_STREQ(base.GetMessage(), "TF Near not allowed on FB");
    }
}
