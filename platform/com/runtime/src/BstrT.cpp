// _bstr_t: one shared, counted block per string; a change makes a new block.
#include "com/BstrT.h"

#include "com/Bstr.h"
#include "com/CodePage.h"
#include "com/ComError.h"

#include <atomic>
#include <mutex>
#include <new>
#include <string>
#include <utility>

struct _bstr_t::Data {
    std::atomic<ULONG> refs{1};
    BSTR wide;
    std::once_flag narrowOnce; // the narrow copy is made on first use
    std::string narrow;
    explicit Data(BSTR owned) noexcept : wide(owned) {}
    ~Data() { SysFreeString(wide); }
};

namespace {

BSTR checked(BSTR s)
{
    if (!s)
        _com_issue_error(E_OUTOFMEMORY);
    return s;
}

BSTR copyOf(BSTR s)
{
    return s ? checked(SysAllocStringByteLen(reinterpret_cast<const char*>(s), SysStringByteLen(s)))
             : nullptr;
}

BSTR fromNarrow(const char* text)
{
    try {
        const std::u16string wide = wideFromNarrow(text);
        return checked(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
    } catch (const std::bad_alloc&) {
        _com_issue_error(E_OUTOFMEMORY);
    }
}

} // namespace

_bstr_t::Data* _bstr_t::make(BSTR owned)
{
    Data* data = new (std::nothrow) Data(owned);
    if (!data) {
        SysFreeString(owned);
        _com_issue_error(E_OUTOFMEMORY);
    }
    return data;
}

void _bstr_t::reset(Data* data) noexcept
{
    Data* old = std::exchange(m_data, data);
    if (old && old->refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete old;
}

_bstr_t::_bstr_t(const _bstr_t& other) noexcept : m_data(other.m_data)
{
    if (m_data)
        m_data->refs.fetch_add(1, std::memory_order_relaxed);
}

_bstr_t::_bstr_t(_bstr_t&& other) noexcept : m_data(std::exchange(other.m_data, nullptr)) {}

_bstr_t::_bstr_t(const char* text) : m_data(text ? make(fromNarrow(text)) : nullptr) {}

_bstr_t::_bstr_t(const OLECHAR* text) : m_data(text ? make(checked(SysAllocString(text))) : nullptr)
{
}

_bstr_t::_bstr_t(BSTR bstr, bool copy) : m_data(make(copy ? copyOf(bstr) : bstr)) {}

_bstr_t::~_bstr_t()
{
    reset(nullptr);
}

_bstr_t& _bstr_t::operator=(const _bstr_t& other) noexcept
{
    if (other.m_data)
        other.m_data->refs.fetch_add(1, std::memory_order_relaxed);
    reset(other.m_data);
    return *this;
}

_bstr_t& _bstr_t::operator=(_bstr_t&& other) noexcept
{
    if (this != &other)
        reset(std::exchange(other.m_data, nullptr));
    return *this;
}

_bstr_t& _bstr_t::operator=(const char* text)
{
    return *this = _bstr_t(text);
}

_bstr_t& _bstr_t::operator=(const OLECHAR* text)
{
    return *this = _bstr_t(text);
}

_bstr_t& _bstr_t::operator+=(const _bstr_t& other)
{
    return *this = *this + other;
}

_bstr_t _bstr_t::operator+(const _bstr_t& other) const
{
    if (!m_data)
        return other;
    if (!other.m_data)
        return *this;
    const UINT left = length();
    const UINT right = other.length();
    BSTR joined = checked(SysAllocStringLen(nullptr, left + right));
    std::char_traits<OLECHAR>::copy(joined, m_data->wide, left);
    std::char_traits<OLECHAR>::copy(joined + left, other.m_data->wide, right);
    return _bstr_t(joined, false);
}

_bstr_t operator+(const char* left, const _bstr_t& right)
{
    return _bstr_t(left) + right;
}

_bstr_t operator+(const OLECHAR* left, const _bstr_t& right)
{
    return _bstr_t(left) + right;
}

_bstr_t::operator const OLECHAR*() const noexcept
{
    return m_data ? m_data->wide : nullptr;
}

_bstr_t::operator const char*() const
{
    if (!m_data)
        return nullptr;
    try {
        std::call_once(m_data->narrowOnce,
                       [this] { m_data->narrow = narrowFromBstr(m_data->wide); });
    } catch (const std::bad_alloc&) {
        _com_issue_error(E_OUTOFMEMORY);
    }
    return m_data->narrow.c_str();
}

bool _bstr_t::operator==(const _bstr_t& other) const noexcept
{
    const std::u16string_view a(m_data ? m_data->wide : nullptr, length());
    const std::u16string_view b(other.m_data ? other.m_data->wide : nullptr, other.length());
    return a == b;
}

bool _bstr_t::operator!() const noexcept
{
    return !m_data || !m_data->wide;
}

unsigned int _bstr_t::length() const noexcept
{
    return m_data ? SysStringLen(m_data->wide) : 0;
}

BSTR _bstr_t::copy(bool copy) const
{
    if (!m_data)
        return nullptr;
    return copy ? copyOf(m_data->wide) : m_data->wide;
}

BSTR& _bstr_t::GetBSTR()
{
    if (!m_data)
        m_data = make(nullptr);
    return m_data->wide;
}

void _bstr_t::Attach(BSTR bstr)
{
    reset(make(bstr));
}

BSTR _bstr_t::Detach() noexcept
{
    if (!m_data)
        return nullptr;
    BSTR out = nullptr;
    if (m_data->refs.load(std::memory_order_acquire) == 1) {
        out = std::exchange(m_data->wide, nullptr);
    } else if (m_data->wide) {
        // Shared: the others keep theirs, the caller gets a copy.
        out = SysAllocStringByteLen(reinterpret_cast<const char*>(m_data->wide),
                                    SysStringByteLen(m_data->wide));
    }
    reset(nullptr);
    return out;
}
