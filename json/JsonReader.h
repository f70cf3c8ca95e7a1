// Reads JSON text into an Object: the whole text is cut into tokens first,
// then parsed by recursive descent. Every error is thrown with its position.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "json/JsonElements.h"

namespace json
{

class Reader
{
public:
    // All counted in bytes from 0.
    struct Location
    {
        int line = 0;   // newlines consumed
        int column = 0; // characters since the last newline
        int offset = 0; // characters since the start
    };

    class ScanException : public Exception
    {
    public:
        ScanException(const std::string& message, const Location& where)
            : Exception(message), m_locError(where)
        {
        }
        Location m_locError;
    };

    class ParseException : public Exception
    {
    public:
        ParseException(const std::string& message, const Location& begin, const Location& end)
            : Exception(message), m_locTokenBegin(begin), m_locTokenEnd(end)
        {
        }
        Location m_locTokenBegin;
        Location m_locTokenEnd;
    };

    struct Token
    {
        enum Type
        {
            TOKEN_OBJECT_BEGIN = 0,
            TOKEN_OBJECT_END,
            TOKEN_ARRAY_BEGIN,
            TOKEN_ARRAY_END,
            TOKEN_NEXT_ELEMENT,
            TOKEN_MEMBER_ASSIGN,
            TOKEN_STRING,
            TOKEN_NUMBER,
            TOKEN_BOOLEAN,
            TOKEN_NULL,
        };

        Type nType = TOKEN_NULL;
        std::string sValue;
        Location locBegin;
        Location locEnd;
    };

    // Objects and arrays nested deeper than this are refused ("Nesting too
    // deep", a ParseException at the bracket one level too deep) as soon as
    // the scan meets that bracket: nothing after it is read, and no member
    // is inserted.
    static const int MAX_NESTING_DEPTH = 256;

    // Parses one object from the whole input into object; members it already
    // holds stay, and a repeated name is an error.
    static void Read_i(Object& object, std::istream& istr);

private:
    typedef std::vector<Token> Tokens;
    class InputStream;
    class TokenStream;

    Reader() : m_nDepth(0) {}

    struct FixedToken
    {
        char first;
        const char* text;
        Token::Type type;
    };
    static const FixedToken* FindFixedToken(char first);

    static void Scan(Tokens& tokens, InputStream& inputStream);
    static void EatWhiteSpace(InputStream& inputStream);
    static std::string MatchExpectedString(InputStream& inputStream, const std::string& expected);
    static void MatchString(InputStream& inputStream, std::string& result);
    static void MatchNumber(InputStream& inputStream, std::string& result);

    static const Token& MatchExpectedToken(Token::Type type, TokenStream& tokenStream);

    void Parse(UnknownElement& element, TokenStream& tokenStream);
    void Parse(Object& object, TokenStream& tokenStream);
    void Parse(Array& array, TokenStream& tokenStream);
    void Parse(String& string, TokenStream& tokenStream);
    void Parse(Number& number, TokenStream& tokenStream);
    void Parse(Boolean& boolean, TokenStream& tokenStream);

    void EnterNesting(const TokenStream& tokenStream);

    int m_nDepth;
};

} // namespace json
