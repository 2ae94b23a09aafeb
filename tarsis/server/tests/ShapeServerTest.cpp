// The shape server through CoCreateInstance (class context 0x17) and Invoke.
#include "ServerFixture.h"

#include "com/Bstr.h"
#include "com/CodePage.h"

namespace tarsis::testing {
namespace {

struct Lookup {
    CallResult call;
    double values[6];
    BSTR formal;
};

class ShapeServerTest : public ServerTest {
protected:
    // The outputs start non-zero, the name holding text, so that every one
    // is seen to be written (and the old name freed).
    Lookup lookup(const char* section, const char* description)
    {
        Lookup l{{}, {-1, -1, -1, -1, -1, -1}, SysAllocString(u"old")};
        auto server = shapeServer();
        std::vector<CComVariant> args{CComVariant(section), CComVariant(description)};
        for (double& v : l.values)
            args.push_back(byRef(&v));
        args.push_back(byRef(&l.formal));
        l.call = invoke(server, shapeserver::LookupShape, args);
        return l;
    }
    static std::string text(BSTR b) { return b ? narrowFromBstr(b) : "<null>"; }
};

TEST_F(ShapeServerTest, AKnownShapeAnswersItsDimensionsAndName)
{
    struct Case {
        const char* section;
        const char* description;
        const char* name;
        double depth, web, flangeWidth, flangeThickness, weight;
    };
    const Case cases[] = {
        {"W", "1226", "W12X26", 12.2, 0.23, 6.49, 0.38, 26},
        {"w", "1226", "W12X26", 12.2, 0.23, 6.49, 0.38, 26},
        {"L", "43014", "L4X3X1/4", 4, 0.25, 3, 0.25, 5.8},
        // A metric row answers in inches too: 190 mm deep, 42.3 kg/m.
        {"W", "HEA200", "HEA200", 190 / 25.4, 6.5 / 25.4, 200 / 25.4, 10 / 25.4,
         42.3 * 0.3048 / 0.45359237},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lookup l = lookup(c.section, c.description);
        EXPECT_EQ(l.call.hr, S_OK);
        EXPECT_EQ(l.call.result, 0);
        EXPECT_EQ(text(l.formal), c.name);
        EXPECT_DOUBLE_EQ(l.values[0], c.depth);
        EXPECT_DOUBLE_EQ(l.values[1], c.web);
        EXPECT_DOUBLE_EQ(l.values[2], c.flangeWidth);
        EXPECT_DOUBLE_EQ(l.values[3], c.flangeThickness);
        EXPECT_GT(l.values[4], 0);
        EXPECT_DOUBLE_EQ(l.values[5], c.weight);
        SysFreeString(l.formal);
    }
}

TEST_F(ShapeServerTest, AnUnknownShapeAnswersOneWithNothingFilled)
{
    for (auto [section, description] :
         {std::pair{"W", "W8X10"}, std::pair{"", ""}, std::pair{"PL", "1/2X6"}}) {
        SCOPED_TRACE(description);
        Lookup l = lookup(section, description);
        EXPECT_EQ(l.call.hr, S_OK);
        EXPECT_EQ(l.call.result, 1);
        EXPECT_EQ(l.formal, nullptr);
        for (double v : l.values)
            EXPECT_EQ(v, 0);
    }
}

TEST_F(ShapeServerTest, OutputsPassedByValueAreRefused)
{
    auto server = shapeServer();
    std::vector<CComVariant> args{CComVariant("W"), CComVariant("1226")};
    for (int i = 0; i < 6; ++i)
        args.emplace_back(0.0);
    args.emplace_back("");
    EXPECT_EQ(invoke(server, shapeserver::LookupShape, args).hr, DISP_E_TYPEMISMATCH);
    args.pop_back();
    EXPECT_EQ(invoke(server, shapeserver::LookupShape, args).hr, DISP_E_BADPARAMCOUNT);
}

// A lookup that the database cannot answer is a failure with the
// database's result and text, never "unknown shape".
TEST_F(ShapeServerTest, ADatabaseFailureAnswersItsResultAndText)
{
    const std::string damaged = databasePath() + ".damaged";
    writeFile(damaged, std::string(6000, '#'));
    const std::string blocked = databasePath() + ".file";
    writeFile(blocked, "a file where a folder belongs");
    struct Case {
        std::string path;
        HRESULT result;
        std::string text;
    };
    const Case cases[] = {
        {damaged, HRESULT_FROM_WIN32(1392),
         "Tarsis database " + damaged + ": the file is not a database: it is damaged"},
        {blocked + "/tarsis.db", HRESULT_FROM_WIN32(82),
         "Tarsis database " + blocked + "/tarsis.db cannot be created: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        useDatabase(c.path);
        Lookup l = lookup("W", "1226");
        EXPECT_EQ(l.call.hr, S_OK);
        EXPECT_EQ(l.call.result, c.result);
        EXPECT_EQ(l.formal, nullptr);
        EXPECT_EQ(errorText().rfind(c.text, 0), 0u) << errorText();
    }
}

} // namespace
} // namespace tarsis::testing
