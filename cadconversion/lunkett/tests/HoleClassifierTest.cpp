// The hole classifiers of the three reading variants and the turn of
// angle bottom-flange slots.
#include "DSTVPartReader.h"

#include "vlmrexcept/CvmException.h"

#include <gtest/gtest.h>

namespace {

using Classifier = int (*)(double, double, double, double, double*, double*, double*, double*,
                           CString*, int*);

struct ClassifierCase {
    const char* name;
    Classifier classify;
    double d, l, w, a;
    double size1, size2;
    const char* type;
    int orientation;
    double dx, du; // movement of the position
};

constexpr Classifier kStandard = &DSTVPartReader::ClassifyHoleTool;
constexpr Classifier kSDS6_336 = &DSTVPartReader::ClassifyHoleToolSDS6_336;
constexpr Classifier kSDSEarly = &DSTVPartReader::ClassifyHoleToolSDSEarlyVersions;

TEST(HoleClassifierTest, SizesTypeOrientationAndSlotCentre)
{
    const ClassifierCase cases[] = {
        {"round", kStandard, 1, 0, 0, 45, 1, 0, "RD", 0, 0, 0},
        {"round SDS 6.336", kSDS6_336, 1, 0, 0, 45, 1, 0, "RD", 0, 0, 0},
        {"round SDS early", kSDSEarly, 1, 0, 0, 45, 1, 0, "RD", 0, 0, 0},
        {"length slot 0", kStandard, 1, 2, 0, 0, 1, 3, "SL", 0, 1, 0},
        {"length slot 90", kStandard, 1, 2, 0, 90, 1, 3, "SL", 90, 0, 1},
        {"length slot 270 folds", kStandard, 1, 2, 0, 270, 1, 3, "SL", -90, 0, -1},
        {"length slot 180 folds", kStandard, 1, 2, 0, 180, 1, 3, "SL", -180, -1, 0},
        {"length slot -181 folds", kStandard, 1, 2, 0, -181, 1, 3, "SL", 179, -0.9998476952,
         0.0174524064},
        {"length slot angle truncated", kStandard, 1, 2, 0, 45.9, 1, 3, "SL", 45, 0.7071067812,
         0.7071067812},
        {"SDS 6.336 length slot 0", kSDS6_336, 1, 2, 0, 0, 1, 3, "SL", 90, 1, 0},
        {"SDS 6.336 length slot 180", kSDS6_336, 1, 2, 0, 180, 1, 3, "SL", 90, -1, 0},
        {"SDS 6.336 length slot -180", kSDS6_336, 1, 2, 0, -180, 1, 3, "SL", 90, -1, 0},
        {"SDS 6.336 length slot 90", kSDS6_336, 1, 2, 0, 90, 1, 3, "SL", 0, 0, 1},
        {"SDS 6.336 length slot 270 unfolded", kSDS6_336, 1, 2, 0, 270, 1, 3, "SL", 270, 0, -1},
        {"SDS early length slot 0", kSDSEarly, 1, 2, 0, 0, 1, 3, "SL", 90, 1, 0},
        // The SDS rule is on the angle as read: near angles keep their own.
        {"SDS 6.336 length slot 0.5", kSDS6_336, 1, 2, 0, 0.5, 1, 3, "SL", 0, 1, 0},
        {"SDS 6.336 length slot 90.5", kSDS6_336, 1, 2, 0, 90.5, 1, 3, "SL", 90, 0, 1},
        {"SDS 6.336 length slot 180.5", kSDS6_336, 1, 2, 0, 180.5, 1, 3, "SL", 180, -1, 0},
        {"SDS 6.336 length slot -180.5", kSDS6_336, 1, 2, 0, -180.5, 1, 3, "SL", -180, -1, 0},
        {"SDS early length slot 0.5", kSDSEarly, 1, 2, 0, 0.5, 1, 3, "SL", 0, 1, 0},
        {"SDS early length slot 90.5", kSDSEarly, 1, 2, 0, 90.5, 1, 3, "SL", 90, 0, 1},
        {"SDS early length slot 180.5", kSDSEarly, 1, 2, 0, 180.5, 1, 3, "SL", 180, -1, 0},
        {"SDS early length slot 90", kSDSEarly, 1, 2, 0, 90, 1, 3, "SL", 0, 0, 1},
        {"width slot", kStandard, 1, 0, 2, 0, 1, 3, "SL", 90, 0, 1},
        {"width slot 90 folds", kStandard, 1, 0, 2, 90, 1, 3, "SL", -180, -1, 0},
        {"SDS 6.336 width slot", kSDS6_336, 1, 0, 2, 0, 1, 3, "SL", 90, 0, 1},
        {"SDS early has no width slots", kSDSEarly, 1, 0, 2, 0, 0, 0, "", 0, 0, 0},
        {"no diameter", kStandard, 0, 2, 0, 0, 0, 0, "", 0, 0, 0},
    };
    for (const ClassifierCase& c : cases) {
        SCOPED_TRACE(c.name);
        double x = 10, u = 20, size1 = -1, size2 = -1;
        CString type;
        int orientation = -1;
        EXPECT_EQ(c.classify(c.d, c.l, c.w, c.a, &x, &u, &size1, &size2, &type, &orientation), 0);
        EXPECT_EQ(size1, c.size1);
        EXPECT_EQ(size2, c.size2);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(orientation, c.orientation);
        EXPECT_NEAR(x, 10 + c.dx, 1e-9);
        EXPECT_NEAR(u, 20 + c.du, 1e-9);
    }
}

TEST(HoleClassifierTest, AngleOutsideTheIntegerRangeIsANumericError)
{
    for (double angle : {1e12, -1e12, 1e308}) {
        SCOPED_TRACE(angle);
        double x = 0, u = 0, size1 = 0, size2 = 0;
        CString type;
        int orientation = 0;
        EXPECT_THROW(DSTVPartReader::ClassifyHoleTool(1, 2, 0, angle, &x, &u, &size1, &size2, &type,
                                                      &orientation),
                     CNumericConversionException);
    }
}

TEST(HoleClassifierTest, FlipTurnsOnlyTheBottomFlangeOfAngles)
{
    struct Case {
        char code, surface;
        int orientation;
    } cases[] = {{'L', 'u', 150}, {'L', 'o', 30}, {'L', 'v', 30}, {'I', 'u', 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.code) + c.surface);
        int orientation = 30;
        EXPECT_EQ(DSTVPartReader::FlipLProfileOrientation(c.code, c.surface, &orientation), 0);
        EXPECT_EQ(orientation, c.orientation);
    }
}

} // namespace
