// Calls on the Tarsis servers: IDispatch::Invoke by DISPID with the
// arguments in the order the method lists them, and the rule for results.
#pragma once

#include "com/Interfaces.h"
#include "com/Variant.h"

#include <initializer_list>
#include <span>

// Arguments; the strings and out-values stay the caller's.
VARIANT argBstr(BSTR value);
VARIANT argI2(SHORT value);
VARIANT argI4(LONG value);
VARIANT argR8(double value);
VARIANT argR8Out(double* value);
VARIANT argBstrOut(BSTR* value);

// Invokes the method once and answers its 32-bit result. Raises _com_error
// when Invoke fails, and E_POINTER when there is no server (a holder whose
// creation failed).
LONG invokeTarsis(IDispatch* server, DISPID dispid, std::span<const VARIANT> args);
LONG invokeTarsis(IDispatch* server, DISPID dispid, std::initializer_list<VARIANT> args);

// A negative result ends the operation through CLog::ThrowHResult with the
// caller's source file and line (filled in at the call; the builtins serve
// the compilers whose library lacks std::source_location), which logs it;
// the failure then goes on as a _com_error of that result carrying the
// server's error info, so that the caller's COM error row reports the
// server's HRESULT and text (a full, busy, read-only or damaged database)
// instead of an unexpected failure without text.
void checkTarsisResult(LONG result, const char* file = __builtin_FILE(),
                       int line = __builtin_LINE());
