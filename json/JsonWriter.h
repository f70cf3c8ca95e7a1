// Writes an Object as JSON text: one member or element per line, indented
// with one tab per level, every line flushed. Nothing here throws.
#pragma once

#include <ostream>
#include <string>

#include "json/JsonElements.h"

namespace json
{

class Writer : public ConstVisitor
{
public:
    // Writes the object (no newline after its closing brace) and flushes.
    static void Write_i(const Object& object, std::ostream& ostr);

    // The text a number is written as: the fewest significant digits that
    // read back to the same double; "null" for infinities and NaN.
    static std::string FormatNumber(double value);

private:
    explicit Writer(std::ostream& ostr) : m_ostr(ostr), m_nTabDepth(0) {}

    void Write_i(const Object& object);
    void Write_i(const Array& array);
    void Write_i(const Number& number);
    void Write_i(const String& string);
    void Write_i(const Boolean& boolean);
    void Write_i(const Null& null);

    void WriteQuoted(const std::string& text);
    // One item a line between open and close; an empty container as the bare pair.
    template <typename Container, typename WriteItem>
    void WriteContainer(const Container& container, char open, char close, WriteItem writeItem);
    void WriteTabs();
    void WriteNewLine();

    void Visit(const Array& array) override;
    void Visit(const Object& object) override;
    void Visit(const Number& number) override;
    void Visit(const String& string) override;
    void Visit(const Boolean& boolean) override;
    void Visit(const Null& null) override;

    std::ostream& m_ostr;
    int m_nTabDepth;
};

} // namespace json
