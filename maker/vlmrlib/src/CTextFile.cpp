// CTextFile: the read buffer, line counting across seeks, and the line,
// token and number reads.
//
// Invariant while open: the descriptor stands at m_bufferStart +
// m_bufferLength, and the position is m_bufferStart + m_bufferPos.
#include "vlmrlib/CTextFile.h"

#include "TextRules.h"

#include "vlmrexcept/CvmException.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

int byteOf(char c)
{
    return static_cast<unsigned char>(c);
}

} // namespace

CTextFile::CTextFile(std::size_t bufferSize)
    : m_buffer(std::max<std::size_t>(bufferSize, 1)), m_data(m_buffer.data())
{
}

CTextFile::~CTextFile() = default;

BOOL CTextFile::Open(const char* fileName, UINT openFlags)
{
    m_memory = nullptr;
    m_memoryLength = 0;
    BOOL opened = CFile::Open(fileName, openFlags);
    resetState();
    if (opened)
        skipByteOrderMark();
    return opened;
}

BOOL CTextFile::OpenBytes(const char* fileName, const char* bytes, std::size_t length)
{
    CFile::Close();
    setFileName(fileName);
    m_memory = nullptr;
    m_memoryLength = 0;
    if (!bytes && length > 0) {
        resetState();
        return FALSE;
    }
    static const char kNoBytes = 0;
    m_memory = bytes ? bytes : &kNoBytes;
    m_memoryLength = length;
    resetState();
    skipByteOrderMark();
    return TRUE;
}

void CTextFile::Close()
{
    CFile::Close();
    m_memory = nullptr;
    m_memoryLength = 0;
    m_data = m_buffer.data();
    m_textStart = 0;
    m_bufferStart = 0;
    m_bufferLength = 0;
    m_bufferPos = 0;
}

ULONGLONG CTextFile::GetLength() const
{
    return m_memory ? m_memoryLength : CFile::GetLength();
}

// In memory the whole content is the buffer.
void CTextFile::resetState()
{
    m_data = m_memory ? m_memory : m_buffer.data();
    m_textStart = 0;
    m_bufferStart = 0;
    m_bufferLength = m_memory ? m_memoryLength : 0;
    m_bufferPos = 0;
    m_beforeBuffer = -1;
    m_lineAtPos = 1;
    m_previous = -1;
}

void CTextFile::restart()
{
    if (!m_memory)
        CFile::Seek(0, begin);
    resetState();
    skipByteOrderMark();
}

// Right after resetState: moves past a byte-order mark without counting it.
void CTextFile::skipByteOrderMark()
{
    static constexpr char kByteOrderMark[] = {'\xEF', '\xBB', '\xBF'};
    constexpr std::size_t kLength = sizeof kByteOrderMark;
    char head[kLength];
    std::size_t n = 0;
    const bool buffered = m_memory || m_buffer.size() >= kLength;
    if (buffered) {
        fill();
        n = std::min(kLength, m_bufferLength);
        std::memcpy(head, m_data, n);
    } else {
        n = CFile::Read(head, static_cast<UINT>(kLength));
        CFile::Seek(0, begin);
    }
    if (n != kLength || std::memcmp(head, kByteOrderMark, kLength) != 0)
        return;
    m_textStart = kLength;
    if (buffered) {
        m_bufferPos = kLength;
    } else {
        CFile::Seek(static_cast<LONGLONG>(kLength), begin);
        m_bufferStart = kLength;
    }
}

bool CTextFile::fill()
{
    if (m_bufferPos < m_bufferLength)
        return true;
    if (m_memory || !isOpen())
        return false;
    if (m_bufferLength > 0)
        m_beforeBuffer = byteOf(m_buffer[m_bufferLength - 1]);
    m_bufferStart += m_bufferLength;
    m_bufferPos = 0;
    m_bufferLength = CFile::Read(
        m_buffer.data(), static_cast<UINT>(std::min<std::size_t>(m_buffer.size(), UINT_MAX)));
    return m_bufferLength > 0;
}

int CTextFile::peek()
{
    return fill() ? byteOf(m_data[m_bufferPos]) : -1;
}

void CTextFile::take()
{
    count(m_data[m_bufferPos++]);
}

void CTextFile::count(char c)
{
    if (c == '\r' || (c == '\n' && m_previous != '\r'))
        ++m_lineAtPos;
    m_previous = byteOf(c);
}

void CTextFile::countSpan(const char* bytes, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        count(bytes[i]);
}

void CTextFile::advance(ULONGLONG n)
{
    while (n > 0 && fill()) {
        std::size_t step =
            static_cast<std::size_t>(std::min<ULONGLONG>(n, m_bufferLength - m_bufferPos));
        countSpan(m_data + m_bufferPos, step);
        m_bufferPos += step;
        n -= step;
    }
}

void CTextFile::moveTo(ULONGLONG target)
{
    target = std::max(target, m_textStart);
    ULONGLONG position = GetPosition();
    if (target >= position) {
        advance(target - position);
        return;
    }
    if (target < m_bufferStart) {
        restart();
        advance(target - GetPosition());
        return;
    }
    // Back inside the buffer: uncount the line ends between target and here.
    std::size_t from = static_cast<std::size_t>(target - m_bufferStart);
    int before = from > 0 ? byteOf(m_data[from - 1]) : m_beforeBuffer;
    int previous = before;
    for (std::size_t i = from; i < m_bufferPos; ++i) {
        char c = m_data[i];
        if (c == '\r' || (c == '\n' && previous != '\r'))
            --m_lineAtPos;
        previous = byteOf(c);
    }
    m_previous = before;
    m_bufferPos = from;
}

ULONGLONG CTextFile::Seek(LONGLONG offset, UINT from)
{
    if (!textOpen())
        return 0;
    auto length = static_cast<LONGLONG>(GetLength());
    LONGLONG base = from == current ? static_cast<LONGLONG>(GetPosition())
                    : from == end   ? length
                                    : 0;
    LONGLONG target = 0;
    if (__builtin_add_overflow(base, offset, &target))
        target = offset > 0 ? length : -1;
    if (target >= 0)
        moveTo(static_cast<ULONGLONG>(std::min(target, length)));
    return GetPosition();
}

ULONGLONG CTextFile::GetPosition() const
{
    return textOpen() ? m_bufferStart + m_bufferPos : 0;
}

UINT CTextFile::Read(void* buffer, UINT count)
{
    if (!buffer)
        return 0;
    auto* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count && fill()) {
        std::size_t step = std::min<std::size_t>(count - done, m_bufferLength - m_bufferPos);
        const char* from = m_data + m_bufferPos;
        std::memcpy(out + done, from, step);
        countSpan(from, step);
        m_bufferPos += step;
        done += static_cast<UINT>(step);
    }
    return done;
}

void CTextFile::Write(const void* buffer, UINT count)
{
    if (!isOpen() || !buffer)
        return;
    ULONGLONG at = GetPosition();
    CFile::Seek(static_cast<LONGLONG>(at), begin);
    CFile::Write(buffer, count);
    ULONGLONG now = CFile::GetPosition();
    countSpan(static_cast<const char*>(buffer),
              static_cast<std::size_t>(std::min<ULONGLONG>(now - at, count)));
    m_bufferStart = now;
    m_bufferLength = 0;
    m_bufferPos = 0;
    m_beforeBuffer = m_previous;
}

// The line goes straight into *line, whose storage is reused.
BOOL CTextFile::ReadLine(CBreakString* line)
{
    if (peek() == '\n' && m_previous == '\r')
        take(); // the second half of a CR LF whose CR was read on its own
    if (peek() < 0)
        return FALSE;
    CBreakString unused;
    CBreakString& text = line ? *line : unused;
    text.Empty();
    while (fill()) {
        const char* first = m_data + m_bufferPos;
        const char* last = m_data + m_bufferLength;
        const char* stop = std::find_if(first, last, isLineEnd);
        text.Append(first, static_cast<int>(std::min<std::ptrdiff_t>(stop - first, INT_MAX)));
        if (stop != first)
            m_previous = byteOf(stop[-1]);
        m_bufferPos += static_cast<std::size_t>(stop - first);
        if (stop != last) {
            char ending = *stop;
            take();
            if (ending == '\r' && peek() == '\n')
                take();
            break;
        }
    }
    return TRUE;
}

void CTextFile::SkipWhiteSpace()
{
    for (int c = peek(); c >= 0 && vlmr_detail::isWhiteSpace(static_cast<char>(c)); c = peek())
        take();
}

BOOL CTextFile::ReadToDelimit(CString* token)
{
    SkipWhiteSpace();
    if (peek() < 0)
        return FALSE;
    std::string text;
    while (fill()) {
        const char* first = m_data + m_bufferPos;
        const char* last = m_data + m_bufferLength;
        const char* stop = std::find_if(first, last, vlmr_detail::isWhiteSpace);
        text.append(first, stop);
        if (stop != first)
            m_previous = byteOf(stop[-1]);
        m_bufferPos += static_cast<std::size_t>(stop - first);
        if (stop != last)
            break;
    }
    if (token)
        *token =
            CString(text.data(), static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX)));
    return TRUE;
}

template <class T, class Scan, class Parse>
BOOL CTextFile::readNumber(T* value, Scan scan, Parse parse, const char* kind)
{
    CString token;
    if (!ReadToDelimit(&token))
        return FALSE;
    std::string_view text(token, static_cast<std::size_t>(token.GetLength()));
    T parsed{};
    if (scan(text) != text.size() || !parse(text, &parsed)) {
        CNumericConversionException error;
        std::string message = kind + vlmr_detail::quotedWord(text) + " in " +
                              static_cast<const char*>(GetFileName()) + ", line " +
                              std::to_string(GetLineNumber()) + ". ";
        error.SetMessage(message.c_str());
        throw error;
    }
    if (value)
        *value = parsed;
    return TRUE;
}

BOOL CTextFile::ReadInteger(int* value)
{
    return readNumber(value, vlmr_detail::scanInteger, vlmr_detail::parseInteger,
                      "Not an integer: ");
}

BOOL CTextFile::ReadDouble(double* value)
{
    return readNumber(value, vlmr_detail::scanDouble, vlmr_detail::parseDouble, "Not a number: ");
}

int CTextFile::GetLineNumber() const
{
    std::int64_t line = (m_previous == '\r' || m_previous == '\n') ? m_lineAtPos - 1 : m_lineAtPos;
    return static_cast<int>(std::min<std::int64_t>(line, INT_MAX));
}
