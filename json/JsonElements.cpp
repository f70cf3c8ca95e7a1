#include "json/JsonElements.h"

#include <algorithm>

namespace json
{

UnknownElement::UnknownElement() : m_pImp(new Imp_T<Null>(Null())) {}
UnknownElement::UnknownElement(const UnknownElement& other) : m_pImp(other.m_pImp->Clone()) {}
UnknownElement::UnknownElement(const Object& object) : m_pImp(new Imp_T<Object>(object)) {}
UnknownElement::UnknownElement(const Array& array) : m_pImp(new Imp_T<Array>(array)) {}
UnknownElement::UnknownElement(const Number& number) : m_pImp(new Imp_T<Number>(number)) {}
UnknownElement::UnknownElement(const String& string) : m_pImp(new Imp_T<String>(string)) {}
UnknownElement::UnknownElement(const Boolean& boolean) : m_pImp(new Imp_T<Boolean>(boolean)) {}
UnknownElement::UnknownElement(const Null& null) : m_pImp(new Imp_T<Null>(null)) {}

UnknownElement::~UnknownElement()
{
    delete m_pImp;
}

UnknownElement& UnknownElement::operator=(const UnknownElement& other)
{
    // Copy before releasing: other may be this element or live inside it.
    Imp* copy = other.m_pImp->Clone();
    delete m_pImp;
    m_pImp = copy;
    return *this;
}

void UnknownElement::Accept(ConstVisitor& visitor) const
{
    static_cast<const Imp*>(m_pImp)->Accept(visitor);
}

void UnknownElement::Accept(Visitor& visitor)
{
    m_pImp->Accept(visitor);
}

void UnknownElement::Swap(UnknownElement& other)
{
    std::swap(m_pImp, other.m_pImp);
}

bool UnknownElement::operator==(const UnknownElement& other) const
{
    return m_pImp->Compare(*other.m_pImp);
}

Array::iterator Array::Insert(const UnknownElement& element, iterator where)
{
    return m_Elements.insert(where, element);
}

Array::iterator Array::Insert(const UnknownElement& element)
{
    return m_Elements.insert(m_Elements.end(), element);
}

bool Array::operator==(const Array& other) const
{
    return m_Elements.size() == other.m_Elements.size() &&
           std::equal(m_Elements.begin(), m_Elements.end(), other.m_Elements.begin());
}

Object::iterator Object::Find(const std::string& name)
{
    return std::find_if(m_Members.begin(), m_Members.end(), Finder(name));
}

Object::const_iterator Object::Find(const std::string& name) const
{
    return std::find_if(m_Members.begin(), m_Members.end(), Finder(name));
}

UnknownElement& Object::operator[](const std::string& name)
{
    iterator it = Find(name);
    if (it == m_Members.end()) it = m_Members.insert(m_Members.end(), Member(name));
    return it->element;
}

const UnknownElement& Object::operator[](const std::string& name) const
{
    const_iterator it = Find(name);
    if (it == m_Members.end()) throw Exception("Object member not found: " + name);
    return it->element;
}

Object::iterator Object::Insert(const Member& member, iterator where)
{
    if (Find(member.name) != m_Members.end()) throw Exception("Object member already exists: " + member.name);
    return m_Members.insert(where, member);
}

Object::iterator Object::Insert(const Member& member)
{
    return Insert(member, m_Members.end());
}

bool Object::operator==(const Object& other) const
{
    return m_Members.size() == other.m_Members.size() &&
           std::equal(m_Members.begin(), m_Members.end(), other.m_Members.begin());
}

} // namespace json
