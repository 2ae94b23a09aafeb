// CBreakString: a line of text taken apart from the front, word by word
// and number by number.
//
// Numbers follow one syntax: [+-] digits [. [digits]] or [+-] . digits,
// then an optional exponent (e or E, [+-], digits) that counts only when it
// has digits; an integer is [+-] digits. The breaks skip leading white
// space, take the longest number at the front and stop at the first
// character that cannot belong to it, which stays in the text ("100.5s"
// gives 100.5 and leaves "s"). A text without a number at its front, or a
// value out of range, throws CNumericConversionException naming the text's
// first word and leaves the text unchanged.
#pragma once

#include "vlmrlib/CString.h"

class CBreakString : public CString {
public:
    CBreakString() = default;
    CBreakString(const char* text) : CString(text) {}
    CBreakString(const CString& text) : CString(text) {}
    CBreakString& operator=(const CString& text);
    CBreakString& operator=(const char* text);

    // White space off both ends.
    CBreakString& TrimWhiteSpace();

    // Removes the white space at the front, the first word (up to the next
    // white space) and the white space after it; the word goes to *word,
    // which is empty when no word is left. Non-zero when a word was taken.
    BOOL BreakText(CString* word);

    void BreakInteger(int* value);
    void BreakDouble(double* value);

    // Removes and returns the first count bytes (all of them when count
    // exceeds the length, none when it is not positive).
    CString Break(int count);

    // Position of the first occurrence of delimit, or -1; an empty or null
    // delimit is never found.
    int FindDelimit(const char* delimit) const;

    // The path rule for piece names: a text that holds a path becomes its
    // last component, after the last '/' or '\', separators at the end
    // ignored ("C:\parts\B12.nc" gives "B12.nc", "parts/B12/" gives "B12",
    // "B12" stays). Rewrites *text and returns the result; null gives "".
    static CString ConvertPath(CString* text);
};
