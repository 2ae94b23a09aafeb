// The catch blocks of the part objects' saves and the mult's queries: each
// failure becomes an HRESULT with error info set against the object's
// interface, as the class reports it (source: the class's ProgID).
#pragma once

#include "ErrorText.h"
#include "Resource.h"

#include "halcyra/HalcyraLib.h"

#include "com/ComError.h"
#include "com/Runtime.h"
#include "vlmrtsconvert/ShapeExceptions.h"

#include <string>

// shapeAdvice follows an undefined shape's text, e.g. "\r\nAdd the Shape
// thru Tarsis and reconvert the part"; pszFallback stands in for string
// IDS_SAVETOTARSIS when it cannot be loaded.
template <class Class, class Body>
HRESULT guardedSave(REFIID iid, const char16_t* pszFallback, const char* shapeAdvice, Body&& body)
{
    try {
        return body();
    } catch (const _com_error& e) {
        return Class::Error(comErrorText(e, IDS_SAVETOTARSIS, pszFallback).c_str(), iid, e.Error());
    } catch (const CUndefinedShapeException& e) {
        return Class::Error((std::string(e.GetMessage()) + shapeAdvice).c_str(), iid,
                            E_CONVERT_UNDEFINED_SHAPE);
    } catch (const CIllegalUnitException& e) {
        return Class::Error((std::string(e.GetMessage()) + "\r\n").c_str(), iid,
                            E_CONVERT_BAD_CODE);
    } catch (...) {
        // No error info: none that an earlier call left may stand for this failure.
        SetErrorInfo(0, nullptr);
        return E_UNEXPECTED;
    }
}
