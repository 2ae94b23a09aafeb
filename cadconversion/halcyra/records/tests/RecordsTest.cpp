// Tests of the operation records: what the constructors keep and the
// normalisation of tools before they are sent.
#include "halcyra/HalcyraLib.h"
#include "halcyra/MultPart.h"
#include "halcyra/StencilOperation.h"
#include "halcyra/ToolOperation.h"
#include "halcyra/ToolOperationWithRefPlane.h"

#include "com/Bstr.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The text of a BSTR, or "(null)".
std::u16string text(BSTR bstr)
{
    return bstr ? std::u16string(bstr, SysStringLen(bstr)) : u"(null)";
}

TEST(ToolOperation, KeepsWhatItIsGiven)
{
    CToolOperation plain(1.5, 2.5, 0.81, 0.8125, "SL", 70000);
    EXPECT_EQ(plain.X, 1.5);
    EXPECT_EQ(plain.U, 2.5);
    EXPECT_EQ(plain.ToolSize1, 0.81);
    EXPECT_EQ(plain.ToolSize2, 0.8125);
    EXPECT_EQ(text(plain.ToolShape), u"SL");
    EXPECT_EQ(plain.Orientation, static_cast<SHORT>(70000)); // kept in 16 bits
    EXPECT_EQ(plain.MeasuringSystem, 0);

    CToolOperation ex(0, 0, 1, 1, nullptr, -90, 2);
    EXPECT_EQ(ex.ToolShape, nullptr);
    EXPECT_EQ(ex.Orientation, -90);
    EXPECT_EQ(ex.MeasuringSystem, 2);
}

TEST(ToolOperation, TextIsReadInTheAnsiCodePage)
{
    // UTF-8 is decoded; a byte that is no UTF-8 is read as Windows-1252.
    CToolOperation tool(0, 0, 1, 1, "\xC3\xA9/\xE9", 0);
    EXPECT_EQ(text(tool.ToolShape), u"\u00E9/\u00E9");
    CStencilOperation stencil(3, 4, "A\x80");
    EXPECT_EQ(stencil.X, 3);
    EXPECT_EQ(stencil.U, 4);
    EXPECT_EQ(text(stencil.Text), u"A\u20AC");
    CStencilOperation none(0, 0, nullptr);
    EXPECT_EQ(none.Text, nullptr);
}

struct ToolCase {
    const char* what;
    LONG partMeasuringSystem;
    double size1, size2;
    const char* shape;
    double outSize1, outSize2;
    const char16_t* outShape;
    int outOrientation; // from 45
};

const ToolCase kToolCases[] = {
    {"inch slot of equal rounded sizes", 0, 0.8125, 0.81, "SL", 0.8125, 0, u"RD", 0},
    {"metric slot is not rounded", 2, 0.8125, 0.81, "SL", 0.8125, 0.81, u"SL", 45},
    {"metric slot of equal sizes", 2, 20, 20, "SL", 20, 0, u"RD", 0},
    {"other measuring systems round", 1, 0.81, 0.8125, "ER", 0.8125, 0, u"RD", 0},
    {"every slot shape: CR", 0, 1, 1, "CR", 1, 0, u"RD", 0},
    {"every slot shape: HC", 0, 1, 1, "HC", 1, 0, u"RD", 0},
    {"every slot shape: VC", 0, 1, 1, "VC", 1, 0, u"RD", 0},
    {"every slot shape: HE", 0, 1, 1, "HE", 1, 0, u"RD", 0},
    {"every slot shape: VE", 0, 1, 1, "VE", 1, 0, u"RD", 0},
    {"lower case slot stays", 0, 0.8125, 0.81, "sl", 0.8125, 0.8125, u"sl", 45},
    {"round hole keeps size 2", 0, 1, 1, "RD", 1, 1, u"RD", 45},
    {"unequal slot stays", 0, 1, 0.5, "SL", 1, 0.5, u"SL", 45},
    {"half a sixteenth goes up", 0, 1.03125, 2, "M", 1.0625, 2, u"M", 45},
};

TEST(ToolOperation, Normalise)
{
    for (const ToolCase& c : kToolCases) {
        SCOPED_TRACE(c.what);
        // The tool's own measuring system plays no part.
        CToolOperation tool(0, 0, c.size1, c.size2, c.shape, 45, 2);
        tool.Normalise(c.partMeasuringSystem);
        EXPECT_EQ(tool.ToolSize1, c.outSize1);
        EXPECT_EQ(tool.ToolSize2, c.outSize2);
        EXPECT_EQ(text(tool.ToolShape), c.outShape);
        EXPECT_EQ(tool.Orientation, c.outOrientation);
        EXPECT_EQ(tool.MeasuringSystem, 2);
    }
}

// Each save normalises the stored tool again; negative sizes must keep.
TEST(ToolOperation, NormalisingAgainChangesNothing)
{
    CToolOperation tool(0, 0, -0.5, -0.47, "M", 45);
    CToolOperationWithRefPlane op(0, 0, '+', '+', 'A', 0, 0, 0, 0, 1, 0, 1, 0, 'H', 'F', -0.5, 0.81,
                                  const_cast<BSTR>(u"M"), 45);
    for (int save = 0; save < 3; ++save) {
        SCOPED_TRACE(save);
        tool.Normalise(kMeasuringSystemInch);
        EXPECT_EQ(tool.ToolSize1, -0.5);
        EXPECT_EQ(tool.ToolSize2, -0.5);
        op.NormaliseToolSizes(kMeasuringSystemInch);
        EXPECT_EQ(op.GetToolSize1(), -0.5);
        EXPECT_EQ(op.GetToolSize2(), 0.8125);
    }
}

TEST(ToolOperationWithRefPlane, NormaliseToolSizesAsTheToolsAre)
{
    for (const ToolCase& c : kToolCases) {
        SCOPED_TRACE(c.what);
        const std::u16string shape(c.shape, c.shape + std::char_traits<char>::length(c.shape));
        CToolOperationWithRefPlane op(0, 0, '+', '+', 'A', 0, 0, 0, 0, 1, 0, 1, 0, 'H', 'F',
                                      c.size1, c.size2, const_cast<BSTR>(shape.c_str()), 45);
        op.NormaliseToolSizes(c.partMeasuringSystem);
        EXPECT_EQ(op.GetToolSize1(), c.outSize1);
        EXPECT_EQ(op.GetToolSize2(), c.outSize2);
        EXPECT_EQ(text(op.GetToolType()), c.outShape);
        EXPECT_EQ(op.GetToolOrientation(), c.outOrientation);
    }
}

TEST(ToolOperationWithRefPlane, SizesBelowAThousandthAreLeftAlone)
{
    struct Case {
        LONG partMeasuringSystem;
        double size;
        const char16_t* shape;
        double outSize2;
        LONG orientation;
    };
    const Case cases[] = {
        {0, 0, u"SL", 0, 45}, // both below 0.001: nothing changes
        {2, 0.0009, u"SL", 0.0009, 45},
        {2, 0.001, u"RD", 0, 0}, // 0.001 counts
        {0, 0.001, u"RD", 0, 0}, // rounded to 0 and 0, then equal
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        CToolOperationWithRefPlane op(0, 0, '+', '+', 'A', 0, 0, 0, 0, 1, 0, 1, 0, 'H', 'F', c.size,
                                      c.size, const_cast<BSTR>(u"SL"), 45);
        op.NormaliseToolSizes(c.partMeasuringSystem);
        EXPECT_EQ(text(op.GetToolType()), c.shape);
        EXPECT_EQ(op.GetToolSize2(), c.outSize2);
        EXPECT_EQ(op.GetToolOrientation(), c.orientation);
    }
}

TEST(ToolOperationWithRefPlane, KeepsTheNineteenValuesInOrder)
{
    const OLECHAR type[] = u"SL\0tail";
    CToolOperationWithRefPlane op(1, 2, '-', '+', 'P', 3, 4, 5, 6, 7, 8, 9, 10, 'H', 'B', 11, 12,
                                  const_cast<BSTR>(type), 13, 2);
    EXPECT_EQ(op.GetStartX(), 1);
    EXPECT_EQ(op.GetStartU(), 2);
    EXPECT_EQ(op.GetDirectionX(), '-');
    EXPECT_EQ(op.GetDirectionU(), '+');
    EXPECT_EQ(op.GetPatternType(), 'P');
    EXPECT_EQ(op.GetRise(), 3);
    EXPECT_EQ(op.GetRun(), 4);
    EXPECT_EQ(op.GetX(), 5);
    EXPECT_EQ(op.GetU(), 6);
    EXPECT_EQ(op.GetNumX(), 7);
    EXPECT_EQ(op.GetXInc(), 8);
    EXPECT_EQ(op.GetNumU(), 9);
    EXPECT_EQ(op.GetUInc(), 10);
    EXPECT_EQ(op.GetOperationType(), 'H');
    EXPECT_EQ(op.GetFrontBack(), 'B');
    EXPECT_EQ(op.GetToolSize1(), 11);
    EXPECT_EQ(op.GetToolSize2(), 12);
    EXPECT_EQ(text(op.GetToolType()), u"SL"); // up to the first NUL
    EXPECT_EQ(op.GetToolOrientation(), 13);
    EXPECT_EQ(op.ToolMeasuringSystem, 2);

    CToolOperationWithRefPlane plain(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, 0);
    EXPECT_EQ(plain.ToolMeasuringSystem, 0);
    EXPECT_EQ(plain.GetToolType(), nullptr);
}

TEST(MultPart, CopiesItsStringsAndKeepsNullNull)
{
    BSTR job = SysAllocString(u"J1");
    CMultPart piece(job, nullptr, const_cast<BSTR>(u"M1"), 70000);
    SysFreeString(job);
    EXPECT_EQ(text(piece.Job), u"J1");
    EXPECT_EQ(piece.Group, nullptr);
    EXPECT_EQ(text(piece.Mark), u"M1");
    EXPECT_EQ(piece.Quantity, 70000);
}

} // namespace
