// The registrar script parser: tokens, replacements and the key tree.
#include "RegistrarScript.h"

#include "registry/Registry.h"

#include <cctype>
#include <optional>

namespace comserver {

namespace {

bool sameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

struct Token {
    enum Kind { Word, Quoted, Open, Close, Equals, End } kind;
    std::string text;
    int line;
};

class Lexer {
public:
    Lexer(std::string_view script, const Replacements& replacements)
        : m_script(script), m_replacements(replacements)
    {
    }

    Token next()
    {
        if (m_peeked) {
            Token token = std::move(*m_peeked);
            m_peeked.reset();
            return token;
        }
        return read();
    }

    const Token& peek()
    {
        if (!m_peeked)
            m_peeked = read();
        return *m_peeked;
    }

    int line() const { return m_line; }

private:
    bool atEnd() const { return m_pos >= m_script.size(); }
    char current() const { return m_script[m_pos]; }
    static bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

    void advance()
    {
        if (current() == '\n')
            ++m_line;
        ++m_pos;
    }

    Token read()
    {
        while (!atEnd() && isSpace(current()))
            advance();
        if (atEnd())
            return {Token::End, {}, m_line};
        int line = m_line;
        if (current() == '\'')
            return {Token::Quoted, readQuoted(), line};
        std::size_t start = m_pos;
        while (!atEnd() && !isSpace(current()))
            advance();
        std::string_view raw = m_script.substr(start, m_pos - start);
        if (raw == "{")
            return {Token::Open, std::string(raw), line};
        if (raw == "}")
            return {Token::Close, std::string(raw), line};
        if (raw == "=")
            return {Token::Equals, std::string(raw), line};
        std::string text;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '%') {
                text += raw[i];
                continue;
            }
            std::size_t close = raw.find('%', i + 1);
            if (close == std::string_view::npos)
                throw ScriptError(line, "a '%' without its closing '%'");
            text += replacement(raw.substr(i + 1, close - i - 1), line);
            i = close;
        }
        return {Token::Word, std::move(text), line};
    }

    std::string readQuoted()
    {
        int line = m_line;
        advance(); // the opening quote
        std::string text;
        for (;;) {
            if (atEnd())
                throw ScriptError(line, "a quoted text without its closing quote");
            char c = current();
            advance();
            if (c == '\'') {
                if (!atEnd() && current() == '\'') {
                    text += '\'';
                    advance();
                    continue;
                }
                return text;
            }
            if (c != '%') {
                text += c;
                continue;
            }
            std::string name;
            while (!atEnd() && current() != '%' && current() != '\'' && current() != '\n') {
                name += current();
                advance();
            }
            if (atEnd() || current() != '%')
                throw ScriptError(m_line, "a '%' without its closing '%'");
            advance();
            text += replacement(name, m_line);
        }
    }

    std::string replacement(std::string_view name, int line) const
    {
        if (name.empty())
            return "%";
        auto it = m_replacements.find(std::string(name));
        if (it == m_replacements.end())
            throw ScriptError(line, "unknown replacement %" + std::string(name) + "%");
        return it->second;
    }

    std::string_view m_script;
    const Replacements& m_replacements;
    std::size_t m_pos = 0;
    int m_line = 1;
    std::optional<Token> m_peeked;
};

bool isKeyword(const Token& token)
{
    return token.kind == Token::Word &&
           (sameText(token.text, "NoRemove") || sameText(token.text, "ForceRemove") ||
            sameText(token.text, "Delete") || sameText(token.text, "val"));
}

std::optional<DWORD> parseNumber(const std::string& text)
{
    std::size_t start = 0;
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        start = 2;
        base = 16;
    }
    if (start >= text.size())
        return std::nullopt;
    unsigned long long value = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c)))
            digit = std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        else
            return std::nullopt;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return static_cast<DWORD>(value);
}

class Parser {
public:
    Parser(std::string_view script, const Replacements& replacements)
        : m_lexer(script, replacements)
    {
    }

    std::vector<ScriptRoot> parse()
    {
        std::vector<ScriptRoot> roots;
        for (Token token = m_lexer.next(); token.kind != Token::End; token = m_lexer.next()) {
            if (token.kind != Token::Word)
                throw ScriptError(token.line, "expected a root key (HKCR, HKLM or HKCU), found " +
                                                  describe(token));
            ScriptRoot root{rootKey(token), token.text, {}};
            Token open = m_lexer.next();
            if (open.kind != Token::Open)
                throw ScriptError(open.line,
                                  "expected '{' after " + token.text + ", found " + describe(open));
            parseBlock(root.subkeys, nullptr, open.line);
            roots.push_back(std::move(root));
        }
        return roots;
    }

private:
    static std::string describe(const Token& token)
    {
        switch (token.kind) {
        case Token::End:
            return "the end of the script";
        case Token::Quoted:
            return "'" + token.text + "'";
        default:
            return "\"" + token.text + "\"";
        }
    }

    static HKEY rootKey(const Token& token)
    {
        const std::string& n = token.text;
        if (sameText(n, "HKCR") || sameText(n, "HKEY_CLASSES_ROOT"))
            return HKEY_CLASSES_ROOT;
        if (sameText(n, "HKLM") || sameText(n, "HKEY_LOCAL_MACHINE"))
            return HKEY_LOCAL_MACHINE;
        if (sameText(n, "HKCU") || sameText(n, "HKEY_CURRENT_USER"))
            return HKEY_CURRENT_USER;
        throw ScriptError(token.line, "unknown root key \"" + n + "\"");
    }

    // Keys (and, where values is given, values) up to the closing '}'.
    void parseBlock(std::vector<ScriptKey>& keys, std::vector<ScriptValue>* values, int openLine)
    {
        for (;;) {
            Token token = m_lexer.next();
            if (token.kind == Token::Close)
                return;
            if (token.kind == Token::End)
                throw ScriptError(token.line,
                                  "missing '}' for the '{' on line " + std::to_string(openLine));
            if (token.kind == Token::Word && sameText(token.text, "val")) {
                if (values == nullptr)
                    throw ScriptError(token.line, "a value cannot stand directly under a root key");
                values->push_back(parseNamedValue(token.line));
                continue;
            }
            keys.push_back(parseKey(std::move(token)));
        }
    }

    std::string parseName(const Token& token, const char* what)
    {
        if (token.kind != Token::Word && token.kind != Token::Quoted)
            throw ScriptError(token.line,
                              std::string("expected a ") + what + ", found " + describe(token));
        if (isKeyword(token))
            throw ScriptError(token.line, std::string("expected a ") + what +
                                              ", found the keyword \"" + token.text +
                                              "\" (quote it to use it as a name)");
        if (token.text.empty())
            throw ScriptError(token.line, std::string("empty ") + what);
        if (token.text.find('\\') != std::string::npos)
            throw ScriptError(token.line, std::string("the ") + what + " \"" + token.text +
                                              "\" holds a backslash");
        return token.text;
    }

    ScriptKey parseKey(Token token)
    {
        ScriptKey key;
        key.line = token.line;
        if (token.kind == Token::Word) {
            if (sameText(token.text, "NoRemove"))
                key.flag = KeyFlag::NoRemove;
            else if (sameText(token.text, "ForceRemove"))
                key.flag = KeyFlag::ForceRemove;
            else if (sameText(token.text, "Delete"))
                key.flag = KeyFlag::Delete;
            if (key.flag != KeyFlag::None)
                token = m_lexer.next();
        }
        key.name = parseName(token, "key name");
        if (m_lexer.peek().kind == Token::Equals) {
            m_lexer.next();
            key.hasDefault = true;
            key.defaultValue = parseTypedValue({}, token.line);
        }
        if (m_lexer.peek().kind == Token::Open) {
            int openLine = m_lexer.next().line;
            parseBlock(key.subkeys, &key.values, openLine);
        }
        if (key.flag == KeyFlag::Delete &&
            (key.hasDefault || !key.values.empty() || !key.subkeys.empty()))
            throw ScriptError(key.line,
                              "the Delete key \"" + key.name + "\" takes no value and no subkeys");
        return key;
    }

    ScriptValue parseNamedValue(int line)
    {
        std::string name = parseName(m_lexer.next(), "value name");
        Token equals = m_lexer.next();
        if (equals.kind != Token::Equals)
            throw ScriptError(equals.line, "expected '=' after the value name \"" + name +
                                               "\", found " + describe(equals));
        return parseTypedValue(std::move(name), line);
    }

    ScriptValue parseTypedValue(std::string name, int line)
    {
        ScriptValue value;
        value.name = std::move(name);
        value.line = line;
        Token type = m_lexer.next();
        Token data = m_lexer.next();
        if (type.kind == Token::Word && sameText(type.text, "s")) {
            if (data.kind != Token::Quoted)
                throw ScriptError(data.line,
                                  "expected a quoted text after s, found " + describe(data));
            value.type = REG_SZ;
            value.text = std::move(data.text);
            return value;
        }
        if (type.kind == Token::Word && sameText(type.text, "d")) {
            std::optional<DWORD> number;
            if (data.kind == Token::Word || data.kind == Token::Quoted)
                number = parseNumber(data.text);
            if (!number)
                throw ScriptError(data.line,
                                  describe(data) + " is not a number from 0 to 4294967295");
            value.type = REG_DWORD;
            value.number = *number;
            return value;
        }
        throw ScriptError(type.line,
                          "expected a value type (s or d) after '=', found " + describe(type));
    }

    Lexer m_lexer;
};

} // namespace

std::vector<ScriptRoot> parseRegistrarScript(std::string_view script,
                                             const Replacements& replacements)
{
    return Parser(script, replacements).parse();
}

} // namespace comserver
