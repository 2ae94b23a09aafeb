// Section names and size texts from the profile text of the header.
#include "ReaderFixture.h"

namespace {

struct ProfileCase {
    const char* profile;
    LONG bIsMetric;
    const char* height; // millimetres
    const char* flangeWidth;
    const char* webThickness;
    const char* section;
    const char* description;
};

TEST_F(ReaderTest, ProfileNames)
{
    const ProfileCase cases[] = {
        {"W12X26", 0, "310", "165", "5.8", "W", "1226"},
        {"W 12 X 26", 0, "310", "165", "5.8", "W", "12"},
        {"C15X33.9", 0, "381", "86", "10.2", "C", "1533.9"},
        {"UPE 200", 1, "200", "80", "6", "UPE", "200"},
        {"HEB400", 1, "400", "300", "13.5", "HEB", "400"},
        {"HEA200", 0, "190", "200", "6.5", "W", "HEA200"},
        {"hea200", 1, "190", "200", "6.5", "W", "hea200"},
        {"HE120B", 1, "120", "120", "6.5", "W", "HE120B"},
        {"PL10", 1, "254", "0", "10", "PL", "10"},
        {"PL10", 0, "254", "0", "12.7", "PL", "1/2X10"},
        {"plate", 0, "101.6", "0", "9.525", "PL", "3/8X4"},
        {"L4X4X1/2", 0, "101.6", "101.6", "12.7", "L", "44012"},
        {"L4X4X1/2", 2, "101.6", "101.6", "12.7", "L", "44012"},
        {"L4X4X1/2", 1, "101.6", "101.6", "12.7", "L", "4412"},
        {"FLAT 10X100", 1, "100", "0", "10", "FB", "10100"},
        {"Flat 10X100", 0, "100", "0", "10", "FB", "10100"},
        {"TUBE-C-90*90*3", 1, "90", "90", "3", "TUBE", ""},
        {"Tube rect. 100x50x5", 1, "100", "50", "5", "Tube", "."},
    };
    for (const ProfileCase& c : cases) {
        SCOPED_TRACE(std::string(c.profile) + " metric " + std::to_string(c.bIsMetric));
        StHeader st;
        st.profile = c.profile;
        st.height = c.height;
        st.flangeWidth = c.flangeWidth;
        st.webThickness = c.webThickness;
        ReadResult result = convert(st.text() + "EN\n", ReadVariant::Standard, c.bIsMetric);
        ASSERT_EQ(result.hr, S_OK) << result.text;
        EXPECT_EQ(m_part.strings["Section"], c.section);
        EXPECT_EQ(m_part.strings["SectionDescription"], c.description);
    }
}

} // namespace
