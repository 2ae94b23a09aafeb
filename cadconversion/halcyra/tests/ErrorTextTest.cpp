// The text of a COM error's report: the platform's message, a line break,
// and the method's string, or its literal when the string is missing.
#include "ErrorText.h"

#include "com/Runtime.h"
#include "com/server/Resources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kLong(300, 'x');

BEGIN_STRING_TABLE(TestStrings)
    STRING_ENTRY(141, "Com Error while SaveToTarsis")
    STRING_ENTRY(142, kLong.c_str())
END_STRING_TABLE()

std::u16string wide(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

TEST(ErrorText, MessageThenLineBreakThenTheMethodsString)
{
    const _com_error error(E_OUTOFMEMORY);
    EXPECT_EQ(comErrorText(error, 141, u"fallback"),
              wide(hresultMessage(E_OUTOFMEMORY)) + u"\r\nCom Error while SaveToTarsis");
}

TEST(ErrorText, LiteralStandsInForAMissingString)
{
    const _com_error error(E_POINTER);
    EXPECT_EQ(comErrorText(error, 111, u"Com Error while put_MARK"),
              wide(hresultMessage(E_POINTER)) + u"\r\nCom Error while put_MARK");
}

TEST(ErrorText, StringIsReadIntoAFixedBuffer)
{
    const _com_error error(E_FAIL);
    EXPECT_EQ(comErrorText(error, 142, u"fallback"),
              wide(hresultMessage(E_FAIL)) + u"\r\n" + wide(kLong.substr(0, 253)));
}

} // namespace
