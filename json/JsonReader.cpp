#include "json/JsonReader.h"

#include <climits>
#include <locale>
#include <sstream>
#include <unordered_set>
#include <utility>

namespace json
{

namespace
{

void CountUp(int& n)
{
    if (n < INT_MAX) n++;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of the longest prefix of text that is a whole number:
// -?digits[.digits][(e|E)[+|-]digits], or 0 when it holds no digit.
size_t NumberPrefixLength(const std::string& text)
{
    size_t i = 0, n = text.size();
    if (i < n && text[i] == '-') i++;
    size_t digits = 0;
    while (i < n && IsDigit(text[i]))
        i++, digits++;
    if (i < n && text[i] == '.')
    {
        size_t after = i + 1;
        while (after < n && IsDigit(text[after]))
            after++, digits++;
        if (digits == 0) return 0;
        i = after;
    }
    if (digits == 0) return 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E'))
    {
        size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) j++;
        size_t exp_start = j;
        while (j < n && IsDigit(text[j]))
            j++;
        if (j > exp_start) i = j;
    }
    return i;
}

} // namespace

class Reader::InputStream
{
public:
    explicit InputStream(std::istream& iStr) : m_iStr(iStr) {}

    bool EOS() { return m_iStr.peek() == std::char_traits<char>::eof(); }
    char Peek() { return std::char_traits<char>::to_char_type(m_iStr.peek()); }
    char Get()
    {
        char c = std::char_traits<char>::to_char_type(m_iStr.get());
        CountUp(m_Location.offset);
        if (c == '\n')
        {
            CountUp(m_Location.line);
            m_Location.column = 0;
        }
        else
            CountUp(m_Location.column);
        return c;
    }
    const Location& GetLocation() const { return m_Location; }

private:
    std::istream& m_iStr;
    Location m_Location;
};

class Reader::TokenStream
{
public:
    explicit TokenStream(const Tokens& tokens) : m_Tokens(tokens), m_itCurrent(tokens.begin()) {}

    bool EOS() const { return m_itCurrent == m_Tokens.end(); }
    const Token& Peek() const { return *m_itCurrent; }
    const Token& Get() { return *m_itCurrent++; }

private:
    const Tokens& m_Tokens;
    Tokens::const_iterator m_itCurrent;
};

void Reader::Read_i(Object& object, std::istream& istr)
{
    InputStream inputStream(istr);
    Tokens tokens;
    Scan(tokens, inputStream);

    TokenStream tokenStream(tokens);
    Reader reader;
    reader.Parse(object, tokenStream);

    if (!tokenStream.EOS())
    {
        const Token& token = tokenStream.Peek();
        throw ParseException("Expected End of token stream; found " + token.sValue, token.locBegin,
                             token.locEnd);
    }
}

// Tokens spelled by one fixed text, known by its first character.
const Reader::FixedToken* Reader::FindFixedToken(char first)
{
    static const FixedToken kFixed[] = {
        {'{', "{", Token::TOKEN_OBJECT_BEGIN}, {'}', "}", Token::TOKEN_OBJECT_END},
        {'[', "[", Token::TOKEN_ARRAY_BEGIN},  {']', "]", Token::TOKEN_ARRAY_END},
        {',', ",", Token::TOKEN_NEXT_ELEMENT}, {':', ":", Token::TOKEN_MEMBER_ASSIGN},
        {'t', "true", Token::TOKEN_BOOLEAN},   {'f', "false", Token::TOKEN_BOOLEAN},
        {'n', "null", Token::TOKEN_NULL},
    };
    for (const FixedToken& fixed : kFixed)
        if (fixed.first == first) return &fixed;
    return nullptr;
}

void Reader::Scan(Tokens& tokens, InputStream& inputStream)
{
    // Levels opened and not yet closed: a text that nests too deep is
    // refused at the bracket that goes past the limit, not read on.
    int depth = 0;
    while (true)
    {
        EatWhiteSpace(inputStream);
        if (inputStream.EOS()) break;

        Token token;
        token.locBegin = inputStream.GetLocation();
        char c = inputStream.Peek();
        const FixedToken* fixed = FindFixedToken(c);
        if (fixed)
        {
            token.sValue = MatchExpectedString(inputStream, fixed->text);
            token.nType = fixed->type;
        }
        else if (c == '"')
        {
            MatchString(inputStream, token.sValue);
            token.nType = Token::TOKEN_STRING;
        }
        else if (c == '-' || (c >= '0' && c <= '9'))
        {
            MatchNumber(inputStream, token.sValue);
            token.nType = Token::TOKEN_NUMBER;
        }
        else
            throw ScanException(std::string("Unexpected character in stream: ") + c,
                                inputStream.GetLocation());

        token.locEnd = inputStream.GetLocation();
        if (token.nType == Token::TOKEN_OBJECT_BEGIN || token.nType == Token::TOKEN_ARRAY_BEGIN)
        {
            if (++depth > MAX_NESTING_DEPTH)
                throw ParseException("Nesting too deep", token.locBegin, token.locEnd);
        }
        else if ((token.nType == Token::TOKEN_OBJECT_END || token.nType == Token::TOKEN_ARRAY_END) &&
                 depth > 0)
            depth--;
        tokens.push_back(std::move(token));
    }
}

void Reader::EatWhiteSpace(InputStream& inputStream)
{
    while (!inputStream.EOS())
    {
        char c = inputStream.Peek();
        if (c != ' ' && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r') break;
        inputStream.Get();
    }
}

std::string Reader::MatchExpectedString(InputStream& inputStream, const std::string& expected)
{
    for (char c : expected)
    {
        if (inputStream.EOS() || inputStream.Get() != c)
            throw ScanException("Expected string: " + expected, inputStream.GetLocation());
    }
    return expected;
}

void Reader::MatchString(InputStream& inputStream, std::string& result)
{
    MatchExpectedString(inputStream, "\"");

    while (!inputStream.EOS() && inputStream.Peek() != '"')
    {
        char c = inputStream.Get();
        if (c == '\\' && !inputStream.EOS())
        {
            char e = inputStream.Get();
            switch (e)
            {
            case '"':
            case '/':
            case '\\':
                c = e;
                break;
            case 'b':
                c = '\b';
                break;
            case 'f':
                c = '\f';
                break;
            case 'n':
                c = '\n';
                break;
            case 'r':
                c = '\r';
                break;
            case 't':
                c = '\t';
                break;
            default:
                throw ScanException(std::string("Unrecognized escape sequence found in string: \\") + e,
                                    inputStream.GetLocation());
            }
        }
        result.push_back(c);
    }

    MatchExpectedString(inputStream, "\"");
}

void Reader::MatchNumber(InputStream& inputStream, std::string& result)
{
    static const std::string numericChars = "0123456789.eE-+";
    while (!inputStream.EOS() && numericChars.find(inputStream.Peek()) != std::string::npos)
        result.push_back(inputStream.Get());
}

const Reader::Token& Reader::MatchExpectedToken(Token::Type type, TokenStream& tokenStream)
{
    if (tokenStream.EOS()) throw ParseException("Unexpected End of token stream", Location(), Location());
    const Token& token = tokenStream.Get();
    if (token.nType != type)
        throw ParseException("Unexpected token: " + token.sValue, token.locBegin, token.locEnd);
    return token;
}

void Reader::EnterNesting(const TokenStream& tokenStream)
{
    if (m_nDepth >= MAX_NESTING_DEPTH)
    {
        if (tokenStream.EOS()) throw ParseException("Nesting too deep", Location(), Location());
        const Token& token = tokenStream.Peek();
        throw ParseException("Nesting too deep", token.locBegin, token.locEnd);
    }
    m_nDepth++;
}

void Reader::Parse(UnknownElement& element, TokenStream& tokenStream)
{
    if (tokenStream.EOS()) throw ParseException("Unexpected end of token stream", Location(), Location());

    const Token& token = tokenStream.Peek();
    switch (token.nType)
    {
    case Token::TOKEN_OBJECT_BEGIN:
        Parse(element.ConvertTo<Object>(), tokenStream);
        break;
    case Token::TOKEN_ARRAY_BEGIN:
        Parse(element.ConvertTo<Array>(), tokenStream);
        break;
    case Token::TOKEN_STRING:
        Parse(element.ConvertTo<String>(), tokenStream);
        break;
    case Token::TOKEN_NUMBER:
        Parse(element.ConvertTo<Number>(), tokenStream);
        break;
    case Token::TOKEN_BOOLEAN:
        Parse(element.ConvertTo<Boolean>(), tokenStream);
        break;
    case Token::TOKEN_NULL:
        element.ConvertTo<Null>();
        MatchExpectedToken(Token::TOKEN_NULL, tokenStream);
        break;
    default:
        throw ParseException("Unexpected token: " + token.sValue, token.locBegin, token.locEnd);
    }
}

void Reader::Parse(Object& object, TokenStream& tokenStream)
{
    EnterNesting(tokenStream);
    MatchExpectedToken(Token::TOKEN_OBJECT_BEGIN, tokenStream);

    if (!tokenStream.EOS() && tokenStream.Peek().nType != Token::TOKEN_OBJECT_END)
    {
        // Names seen so far, so that wide objects read in linear time.
        std::unordered_set<std::string> names;
        for (const Object::Member& member : object.m_Members)
            names.insert(member.name);

        while (true)
        {
            const Token& nameToken = MatchExpectedToken(Token::TOKEN_STRING, tokenStream);
            MatchExpectedToken(Token::TOKEN_MEMBER_ASSIGN, tokenStream);

            UnknownElement value;
            Parse(value, tokenStream);

            if (!names.insert(nameToken.sValue).second)
                throw ParseException("Duplicate object member token: " + nameToken.sValue, nameToken.locBegin,
                                     nameToken.locEnd);
            // Append a null member and move the value in: no deep copy.
            object.m_Members.push_back(Object::Member(nameToken.sValue));
            object.m_Members.back().element.Swap(value);

            if (tokenStream.EOS() || tokenStream.Peek().nType != Token::TOKEN_NEXT_ELEMENT) break;
            tokenStream.Get();
        }
    }

    MatchExpectedToken(Token::TOKEN_OBJECT_END, tokenStream);
    m_nDepth--;
}

void Reader::Parse(Array& array, TokenStream& tokenStream)
{
    EnterNesting(tokenStream);
    MatchExpectedToken(Token::TOKEN_ARRAY_BEGIN, tokenStream);

    if (!tokenStream.EOS() && tokenStream.Peek().nType != Token::TOKEN_ARRAY_END)
    {
        while (true)
        {
            Array::iterator it = array.Insert(UnknownElement());
            Parse(*it, tokenStream);

            if (tokenStream.EOS() || tokenStream.Peek().nType != Token::TOKEN_NEXT_ELEMENT) break;
            tokenStream.Get();
        }
    }

    MatchExpectedToken(Token::TOKEN_ARRAY_END, tokenStream);
    m_nDepth--;
}

void Reader::Parse(String& string, TokenStream& tokenStream)
{
    string = MatchExpectedToken(Token::TOKEN_STRING, tokenStream).sValue;
}

void Reader::Parse(Number& number, TokenStream& tokenStream)
{
    const Token& token = MatchExpectedToken(Token::TOKEN_NUMBER, tokenStream);
    const std::string& text = token.sValue;
    static const std::string message = "Unexpected character in NUMBER token: ";

    size_t length = NumberPrefixLength(text);
    if (length == 0) throw ParseException(message + text[0], token.locBegin, token.locEnd);
    if (length < text.size()) throw ParseException(message + text[length], token.locBegin, token.locEnd);

    // The classic locale: the decimal point is always a point.
    std::istringstream iStr(text);
    iStr.imbue(std::locale::classic());
    double value = 0.0;
    iStr >> value;
    // A whole number that fails to convert is out of the range of a double
    // (one too small reads as 0 or the nearest subnormal).
    if (iStr.fail())
    {
        const size_t shown = 40;
        throw ParseException("Number too large for a double: " +
                                 (text.size() > shown ? text.substr(0, shown) + "..." : text),
                             token.locBegin, token.locEnd);
    }
    number = value;
}

void Reader::Parse(Boolean& boolean, TokenStream& tokenStream)
{
    boolean = MatchExpectedToken(Token::TOKEN_BOOLEAN, tokenStream).sValue == "true";
}

} // namespace json
