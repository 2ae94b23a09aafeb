// Default messages of the shape and unit exceptions.
#include "vlmrtsconvert/ShapeExceptions.h"

CUndefinedShapeException::CUndefinedShapeException()
{
    SetMessage("Undefined shape. ");
}
CUndefinedShapeException::~CUndefinedShapeException() = default;

CIllegalUnitException::CIllegalUnitException()
{
    SetMessage("Illegal unit. ");
}
CIllegalUnitException::~CIllegalUnitException() = default;
