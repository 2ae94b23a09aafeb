// The exception family: default messages, message editing, copies and
// catching through the base.
#include "vlmrexcept/CvmException.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

TEST(CvmException, DefaultMessagesReadAsTheStartOfACallersText)
{
    struct Case {
        const char* name;
        std::function<std::string()> message;
        const char* expected;
    } cases[] = {
        {"CvmException", [] { return std::string(CvmException().GetMessage()); }, ""},
        {"CUnexpectedEOF", [] { return std::string(CUnexpectedEOF().GetMessage()); },
         "Unexpected end of file. "},
        {"CNumericConversionException",
         [] { return std::string(CNumericConversionException().GetMessage()); },
         "Numeric conversion error. "},
        {"CUnexpectedException", [] { return std::string(CUnexpectedException().GetMessage()); },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.message(), c.expected);
    }
}

TEST(CvmException, SetAndConcatEditTheMessageAndNullCountsAsEmpty)
{
    CUnexpectedEOF e;
    e.ConcatToMessage("Error in Convert holes");
    EXPECT_STREQ(e.GetMessage(), "Unexpected end of file. Error in Convert holes");
    e.ConcatToMessage(nullptr);
    EXPECT_STREQ(e.GetMessage(), "Unexpected end of file. Error in Convert holes");
    e.SetMessage("x");
    EXPECT_STREQ(e.GetMessage(), "x");
    e.SetMessage(nullptr);
    EXPECT_STREQ(e.GetMessage(), "");
}

TEST(CvmException, RethrownCopyKeepsKindAndTextAndIsCaughtThroughTheBase)
{
    try {
        try {
            throw CNumericConversionException();
        } catch (CNumericConversionException& e) {
            e.ConcatToMessage("more");
            CNumericConversionException copy(e);
            throw copy;
        }
    } catch (const CUnexpectedEOF&) {
        FAIL() << "caught as the wrong kind";
    } catch (const CvmException& e) {
        EXPECT_NE(dynamic_cast<const CNumericConversionException*>(&e), nullptr);
        EXPECT_STREQ(e.GetMessage(), "Numeric conversion error. more");
    }
}
