// The part saves' exceptions for a shape the database does not know and
// for an operation on a side the section does not have. Thrown by value;
// the thrower sets the text with SetMessage.
#pragma once

#include "vlmrexcept/CvmException.h"

// Default message "Undefined shape. ".
class CUndefinedShapeException : public CvmException {
public:
    CUndefinedShapeException();
    CUndefinedShapeException(const CUndefinedShapeException&) = default;
    CUndefinedShapeException& operator=(const CUndefinedShapeException&) = default;
    ~CUndefinedShapeException() override;
};

// Default message "Illegal unit. ".
class CIllegalUnitException : public CvmException {
public:
    CIllegalUnitException();
    CIllegalUnitException(const CIllegalUnitException&) = default;
    CIllegalUnitException& operator=(const CIllegalUnitException&) = default;
    ~CIllegalUnitException() override;
};
