// The maker's exception family: CvmException, the base that carries a
// message text, and the reading exceptions derived from it. Converters
// throw and catch them by value; callers append their own texts to the
// message, so every default message ends in a blank.
#pragma once

#include <string>

class CvmException {
public:
    CvmException() = default;
    CvmException(const CvmException&) = default;
    CvmException& operator=(const CvmException&) = default;
    virtual ~CvmException();

    // The text, valid while the exception lives and is not changed.
    const char* GetMessage() const { return m_message.c_str(); }
    void SetMessage(const char* text) { m_message = text ? text : ""; }
    void ConcatToMessage(const char* text) { m_message += text ? text : ""; }

private:
    std::string m_message;
};

// A read reached the end of the file. Default message "Unexpected end of file. ".
class CUnexpectedEOF : public CvmException {
public:
    CUnexpectedEOF();
    ~CUnexpectedEOF() override;
};

// A text that should be a number is not one. The number reads set a message
// that names the text; the default is "Numeric conversion error. ".
class CNumericConversionException : public CvmException {
public:
    CNumericConversionException();
    ~CNumericConversionException() override;
};

// A state the code did not expect. Its default message is empty: the
// catch blocks that report it add "Unexpected Exception" themselves.
class CUnexpectedException : public CvmException {
public:
    CUnexpectedException() = default;
    ~CUnexpectedException() override;
};
