// CallLog: what the recording test doubles of the part-model interfaces
// share: every call they receive, in order, with its method name, its
// in-arguments and the result it got, and the methods they are told to
// fail. A failing call is logged too (the converter made it); it changes
// nothing else on the double.
//
//   HRESULT put_Mark(BSTR v) override { return record("put_Mark", {text(v)}); }
//   ...
//   part.failures["put_Mark"] = E_OUTOFMEMORY;
//   EXPECT_EQ(part.texts(), (std::vector<std::string>{"put_Mark(B12)"}));
//
// Header-only; the test links the component runtime (comrt).
#pragma once

#include "com/Bstr.h"

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace convertertest {

// An in-argument as the double keeps it: a floating-point number, an
// integer, or a text (a BSTR as narrow text).
using Argument = std::variant<double, long long, std::string>;

// A number as a call's text shows it: up to ten significant digits.
inline std::string numberText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

struct RecordedCall {
    std::string name;
    std::vector<Argument> arguments;
    HRESULT result = S_OK; // what the double answered

    bool succeeded() const { return result == S_OK; }

    // Argument i as a floating-point number (an integer converted); 0 for a
    // text or a missing argument.
    double number(std::size_t i) const
    {
        if (i >= arguments.size())
            return 0;
        if (const double* value = std::get_if<double>(&arguments[i]))
            return *value;
        if (const long long* value = std::get_if<long long>(&arguments[i]))
            return static_cast<double>(*value);
        return 0;
    }
    // Argument i as text: a text as it is, a number as numberText.
    std::string text(std::size_t i) const
    {
        if (i >= arguments.size())
            return {};
        if (const std::string* value = std::get_if<std::string>(&arguments[i]))
            return *value;
        if (const long long* value = std::get_if<long long>(&arguments[i]))
            return std::to_string(*value);
        return numberText(std::get<double>(arguments[i]));
    }
    // "Name(argument, argument)".
    std::string text() const
    {
        std::string call = name + "(";
        for (std::size_t i = 0; i < arguments.size(); ++i)
            call += (i ? ", " : "") + text(i);
        return call + ")";
    }
};

class CallLog {
public:
    std::vector<RecordedCall> log;
    // A method named here answers this HRESULT.
    std::map<std::string, HRESULT> failures;

    // The method names of the calls, in order.
    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (const RecordedCall& call : log)
            result.push_back(call.name);
        return result;
    }
    // The calls as text ("Name(argument, argument)"), in order.
    std::vector<std::string> texts() const
    {
        std::vector<std::string> result;
        for (const RecordedCall& call : log)
            result.push_back(call.text());
        return result;
    }

protected:
    // Logs the call and answers the failure named for it, else S_OK.
    HRESULT record(std::string name, std::vector<Argument> arguments = {})
    {
        auto failure = failures.find(name);
        const HRESULT result = failure == failures.end() ? S_OK : failure->second;
        log.push_back({std::move(name), std::move(arguments), result});
        return result;
    }

    static Argument text(BSTR value) { return narrowFromBstr(value); }
    static Argument integer(long long value) { return value; }
};

} // namespace convertertest
