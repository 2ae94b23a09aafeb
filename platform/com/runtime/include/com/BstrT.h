// _bstr_t: a shared, reference-counted owner of one BSTR. Copies share the
// string; a change (+=, Attach, assignment) gives this object its own.
// Allocation failures raise _com_error(E_OUTOFMEMORY). A default-made
// object holds no string: its text pointers are null and its length 0.
#pragma once

#include "com/Export.h"
#include "com/Types.h"

class COM_API _bstr_t {
public:
    _bstr_t() noexcept = default;
    _bstr_t(const _bstr_t& other) noexcept;
    _bstr_t(_bstr_t&& other) noexcept;
    _bstr_t(const char* text);     // UTF-8, converted; null holds no string
    _bstr_t(const OLECHAR* text);  // up to the first NUL; null holds no string
    _bstr_t(BSTR bstr, bool copy); // copy false takes ownership of bstr
    ~_bstr_t();

    _bstr_t& operator=(const _bstr_t& other) noexcept;
    _bstr_t& operator=(_bstr_t&& other) noexcept;
    _bstr_t& operator=(const char* text);
    _bstr_t& operator=(const OLECHAR* text);

    _bstr_t& operator+=(const _bstr_t& other);
    _bstr_t operator+(const _bstr_t& other) const;
    friend COM_API _bstr_t operator+(const char* left, const _bstr_t& right);
    friend COM_API _bstr_t operator+(const OLECHAR* left, const _bstr_t& right);

    // The held text; the narrow (UTF-8) copy is made on first use and lives
    // as long as this object's string.
    operator const OLECHAR*() const noexcept;
    operator const char*() const;

    // Equal when length and characters agree; no string equals "".
    bool operator==(const _bstr_t& other) const noexcept;
    bool operator!() const noexcept;

    unsigned int length() const noexcept;
    BSTR copy(bool copy = true) const; // a new BSTR (or the held one when copy is false)
    BSTR& GetBSTR();                   // the held BSTR, for in/out use
    void Attach(BSTR bstr);            // takes ownership; the previous string is let go
    BSTR Detach() noexcept;            // hands the BSTR over; this object is left empty

private:
    struct Data;
    static Data* make(BSTR owned); // takes ownership, also on failure
    void reset(Data* data) noexcept;
    Data* m_data = nullptr;
};
