#include "json/JsonWriter.h"

#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>

namespace json
{

void Writer::Write_i(const Object& object, std::ostream& ostr)
{
    Writer writer(ostr);
    writer.Write_i(object);
    ostr.flush();
}

std::string Writer::FormatNumber(double value)
{
    // Not JSON numbers: null keeps the rest of the document readable.
    if (!std::isfinite(value)) return "null";

    // The classic locale: a point as decimal separator, no digit grouping.
    std::string text;
    for (int precision = 15; precision <= 17; precision++)
    {
        std::ostringstream oStr;
        oStr.imbue(std::locale::classic());
        oStr << std::setprecision(precision) << value;
        text = oStr.str();

        std::istringstream iStr(text);
        iStr.imbue(std::locale::classic());
        double back = 0.0;
        iStr >> back;
        if (!iStr.fail() && back == value) break;
    }
    return text;
}

template <typename Container, typename WriteItem>
void Writer::WriteContainer(const Container& container, char open, char close, WriteItem writeItem)
{
    if (container.Empty())
    {
        m_ostr << open << close;
        return;
    }

    m_ostr << open;
    WriteNewLine();
    m_nTabDepth++;

    typename Container::const_iterator it = container.Begin();
    while (it != container.End())
    {
        WriteTabs();
        writeItem(*it);
        if (++it != container.End()) m_ostr << ',';
        WriteNewLine();
    }

    m_nTabDepth--;
    WriteTabs();
    m_ostr << close;
}

void Writer::Write_i(const Object& object)
{
    WriteContainer(object, '{', '}',
                   [this](const Object::Member& member)
                   {
                       WriteQuoted(member.name);
                       m_ostr << " : ";
                       member.element.Accept(*this);
                   });
}

void Writer::Write_i(const Array& array)
{
    WriteContainer(array, '[', ']', [this](const UnknownElement& element) { element.Accept(*this); });
}

void Writer::Write_i(const Number& number)
{
    m_ostr << FormatNumber(number);
}

void Writer::Write_i(const String& string)
{
    WriteQuoted(string);
}

void Writer::Write_i(const Boolean& boolean)
{
    m_ostr << (boolean.Value() ? "true" : "false");
}

void Writer::Write_i(const Null&)
{
    m_ostr << "null";
}

void Writer::WriteQuoted(const std::string& text)
{
    m_ostr << '"';
    for (char c : text)
    {
        switch (c)
        {
        case '"':
            m_ostr << "\\\"";
            break;
        case '\\':
            m_ostr << "\\\\";
            break;
        case '\b':
            m_ostr << "\\b";
            break;
        case '\f':
            m_ostr << "\\f";
            break;
        case '\n':
            m_ostr << "\\n";
            break;
        case '\r':
            m_ostr << "\\r";
            break;
        case '\t':
            m_ostr << "\\t";
            break;
        default:
            m_ostr << c;
            break;
        }
    }
    m_ostr << '"';
}

void Writer::WriteTabs()
{
    for (int i = 0; i < m_nTabDepth; i++)
        m_ostr << '\t';
}

void Writer::WriteNewLine()
{
    m_ostr << '\n';
    m_ostr.flush();
}

void Writer::Visit(const Array& array)
{
    Write_i(array);
}

void Writer::Visit(const Object& object)
{
    Write_i(object);
}

void Writer::Visit(const Number& number)
{
    Write_i(number);
}

void Writer::Visit(const String& string)
{
    Write_i(string);
}

void Writer::Visit(const Boolean& boolean)
{
    Write_i(boolean);
}

void Writer::Visit(const Null& null)
{
    Write_i(null);
}

} // namespace json
