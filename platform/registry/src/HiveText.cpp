// Reading and writing the text form of a hive.
#include "HiveText.h"

#include <charconv>
#include <cstdio>
#include <optional>

namespace registry {

namespace {

constexpr std::string_view headerTag = "vlmr-registry version ";
constexpr std::string_view generationTag = " generation ";
constexpr std::string_view endLine = "vlmr-registry end";
// The version written; 1 is still read.
constexpr unsigned currentVersion = 2;

bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::optional<std::uint32_t> parseHex(std::string_view digits)
{
    std::uint32_t number = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return number;
}

// Reads one line's tokens; every failure names the line.
class LineReader {
public:
    LineReader(std::string_view line, std::size_t number) : m_rest(line), m_number(number) {}

    [[noreturn]] void fail(const std::string& what) const { throw HiveSyntaxError(m_number, what); }

    bool take(std::string_view token)
    {
        if (m_rest.substr(0, token.size()) != token)
            return false;
        m_rest.remove_prefix(token.size());
        return true;
    }

    void expect(std::string_view token, const char* what)
    {
        if (!take(token))
            fail(what);
    }

    std::string quoted()
    {
        expect("\"", "expected '\"'");
        std::string text;
        for (;;) {
            if (m_rest.empty())
                fail("unterminated string");
            char c = m_rest.front();
            m_rest.remove_prefix(1);
            if (c == '"')
                return text;
            if (c != '\\') {
                text += c;
                continue;
            }
            if (m_rest.empty())
                fail("unterminated string");
            char escape = m_rest.front();
            m_rest.remove_prefix(1);
            switch (escape) {
            case '\\':
                text += '\\';
                break;
            case '"':
                text += '"';
                break;
            case 'n':
                text += '\n';
                break;
            case 'r':
                text += '\r';
                break;
            case 't':
                text += '\t';
                break;
            case 'x': {
                if (m_rest.size() < 2 || !isHex(m_rest[0]) || !isHex(m_rest[1]))
                    fail("\\x needs two hex digits");
                text += static_cast<char>(*parseHex(m_rest.substr(0, 2)));
                m_rest.remove_prefix(2);
                break;
            }
            default:
                fail(std::string("unknown escape \\") + escape);
            }
        }
    }

    std::string_view rest() const { return m_rest; }

private:
    std::string_view m_rest;
    std::size_t m_number;
};

Value parseValue(LineReader& line)
{
    Value value;
    if (!line.take("@"))
        value.name = line.quoted();
    line.expect("=", "expected '=' after the value name");
    if (line.take("s:")) {
        value.type = REG_SZ;
        value.text = line.quoted();
    } else if (line.take("d:0x")) {
        std::string_view digits = line.rest();
        auto number = digits.size() <= 8 ? parseHex(digits) : std::nullopt;
        if (!number)
            line.fail("expected up to 8 hex digits after d:0x");
        value.type = REG_DWORD;
        value.number = *number;
        return value;
    } else {
        line.fail("expected s:\"text\" or d:0x<hex> after '='");
    }
    if (!line.rest().empty())
        line.fail("unexpected text after the value");
    return value;
}

void writeQuoted(std::string& out, std::string_view text)
{
    out += '"';
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned>(c));
                out += hex;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void writeValues(std::string& out, const Key& key)
{
    for (const Value& value : key.values) {
        if (value.name.empty())
            out += '@';
        else
            writeQuoted(out, value.name);
        if (value.type == REG_DWORD) {
            char number[16];
            std::snprintf(number, sizeof number, "=d:0x%08x\n",
                          static_cast<unsigned>(value.number));
            out += number;
        } else {
            out += "=s:";
            writeQuoted(out, value.text);
            out += '\n';
        }
    }
}

void writeSubkeys(std::string& out, const Key& key, const std::string& path)
{
    for (const Key& subkey : key.subkeys) {
        std::string subpath = path.empty() ? subkey.name : path + '\\' + subkey.name;
        out += '[' + subpath + "]\n";
        writeValues(out, subkey);
        writeSubkeys(out, subkey, subpath);
    }
}

} // namespace

namespace {

struct Header {
    unsigned version;
    std::uint64_t generation;
};

// The header line "vlmr-registry version V[ generation N]", V 1 or 2.
std::optional<Header> parseHeader(std::string_view line)
{
    if (line.substr(0, headerTag.size()) != headerTag)
        return std::nullopt;
    line.remove_prefix(headerTag.size());
    Header header{0, 0};
    if (line.empty() || (line[0] != '1' && line[0] != '2'))
        return std::nullopt;
    header.version = static_cast<unsigned>(line[0] - '0');
    line.remove_prefix(1);
    if (line.empty())
        return header;
    if (line.substr(0, generationTag.size()) != generationTag)
        return std::nullopt;
    line.remove_prefix(generationTag.size());
    auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), header.generation);
    if (line.empty() || error != std::errc() || end != line.data() + line.size())
        return std::nullopt;
    return header;
}

[[noreturn]] void failHeader()
{
    throw HiveSyntaxError(1, "expected the header \"vlmr-registry version " +
                                 std::to_string(currentVersion) + "\"");
}

} // namespace

HiveText parseHive(std::string_view text)
{
    HiveText hive;
    Key* key = &hive.root;
    std::size_t number = 0;
    unsigned version = 0;
    std::size_t endedAt = 0; // the end line's number
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (number == 1) {
            auto header = parseHeader(line);
            if (!header)
                failHeader();
            version = header->version;
            hive.generation = header->generation;
            continue;
        }
        if (line.empty())
            continue;
        LineReader reader(line, number);
        if (endedAt != 0)
            reader.fail("text after the end line \"" + std::string(endLine) + "\" of line " +
                        std::to_string(endedAt));
        if (line == endLine) {
            endedAt = number;
            continue;
        }
        if (line.front() == '[') {
            auto path =
                line.back() == ']' ? splitKeyPath(line.substr(1, line.size() - 2)) : std::nullopt;
            if (!path || path->empty())
                reader.fail("expected [key path] with non-empty, printable names");
            bool created = false;
            key = &createKey(hive.root, *path, created);
            continue;
        }
        if (line.front() != '"' && line.front() != '@')
            reader.fail("expected a [key] line or a value line");
        Value value = parseValue(reader);
        if (key->value(value.name))
            reader.fail("value \"" + value.name + "\" appears twice");
        key->values.push_back(std::move(value));
    }
    if (number == 0)
        failHeader();
    if (version >= 2 && endedAt == 0)
        throw HiveSyntaxError(number + 1, "the end line \"" + std::string(endLine) +
                                              "\" is missing: the file is cut short");
    return hive;
}

std::string writeHive(const Key& root, std::uint64_t generation)
{
    std::string out(headerTag);
    out += std::to_string(currentVersion);
    out += generationTag;
    out += std::to_string(generation);
    out += '\n';
    writeValues(out, root);
    writeSubkeys(out, root, {});
    out += endLine;
    out += '\n';
    return out;
}

} // namespace registry
