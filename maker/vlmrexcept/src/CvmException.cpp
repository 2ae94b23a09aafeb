// Default messages of the exception family; the destructors anchor the
// classes' type information in this library.
#include "vlmrexcept/CvmException.h"

CvmException::~CvmException() = default;

CUnexpectedEOF::CUnexpectedEOF()
{
    SetMessage("Unexpected end of file. ");
}
CUnexpectedEOF::~CUnexpectedEOF() = default;

CNumericConversionException::CNumericConversionException()
{
    SetMessage("Numeric conversion error. ");
}
CNumericConversionException::~CNumericConversionException() = default;

CUnexpectedException::~CUnexpectedException() = default;
