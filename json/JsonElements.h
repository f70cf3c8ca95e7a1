// The JSON document model: six value kinds held by UnknownElement, the Object
// and Array containers, the visitor interfaces and the library's Exception.
// Every value is owned by exactly one parent and copies are always deep.
#pragma once

#include <cstddef>
#include <deque>
#include <list>
#include <stdexcept>
#include <string>

namespace json
{

class Exception : public std::runtime_error
{
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

class Object;
class Array;
class Null;
template <typename T> class TrivialType_T;

typedef TrivialType_T<double> Number;
typedef TrivialType_T<std::string> String;
typedef TrivialType_T<bool> Boolean;

class Visitor
{
public:
    virtual ~Visitor() {}
    virtual void Visit(Array& array) = 0;
    virtual void Visit(Object& object) = 0;
    virtual void Visit(Number& number) = 0;
    virtual void Visit(String& string) = 0;
    virtual void Visit(Boolean& boolean) = 0;
    virtual void Visit(Null& null) = 0;
};

class ConstVisitor
{
public:
    virtual ~ConstVisitor() {}
    virtual void Visit(const Array& array) = 0;
    virtual void Visit(const Object& object) = 0;
    virtual void Visit(const Number& number) = 0;
    virtual void Visit(const String& string) = 0;
    virtual void Visit(const Boolean& boolean) = 0;
    virtual void Visit(const Null& null) = 0;
};

template <typename T> class TrivialType_T
{
public:
    TrivialType_T(const T& t = T()) : m_tValue(t) {}

    operator T&() { return m_tValue; }
    operator const T&() const { return m_tValue; }
    T& Value() { return m_tValue; }
    const T& Value() const { return m_tValue; }

    bool operator==(const TrivialType_T<T>& other) const { return m_tValue == other.m_tValue; }
    bool operator!=(const TrivialType_T<T>& other) const { return !(*this == other); }

private:
    T m_tValue;
};

class Null
{
public:
    bool operator==(const Null&) const { return true; }
    bool operator!=(const Null&) const { return false; }
};

// One value of any kind. Never empty: a default element holds Null.
class UnknownElement
{
public:
    UnknownElement();
    UnknownElement(const UnknownElement& other);
    UnknownElement(const Object& object);
    UnknownElement(const Array& array);
    UnknownElement(const Number& number);
    UnknownElement(const String& string);
    UnknownElement(const Boolean& boolean);
    UnknownElement(const Null& null);
    ~UnknownElement();

    UnknownElement& operator=(const UnknownElement& other);

    // The held value when it is of kind T, else Exception("Bad cast").
    template <typename T> const T& CastTo() const;
    // The held value, replaced first by a default T when of another kind.
    template <typename T> T& ConvertTo();

    void Accept(ConstVisitor& visitor) const;
    void Accept(Visitor& visitor);

    // Exchanges the held values without copying them.
    void Swap(UnknownElement& other);

    bool operator==(const UnknownElement& other) const;
    bool operator!=(const UnknownElement& other) const { return !(*this == other); }

private:
    class Imp;
    template <typename T> class Imp_T;
    class CastVisitor;
    class ConstCastVisitor;
    template <typename T> class CastVisitor_T;
    template <typename T> class ConstCastVisitor_T;

    template <typename T> T* FindValue();
    template <typename T> const T* FindValue() const;

    Imp* m_pImp;
};

class Array
{
public:
    typedef std::deque<UnknownElement> Elements;
    typedef Elements::iterator iterator;
    typedef Elements::const_iterator const_iterator;

    iterator Begin() { return m_Elements.begin(); }
    iterator End() { return m_Elements.end(); }
    const_iterator Begin() const { return m_Elements.begin(); }
    const_iterator End() const { return m_Elements.end(); }
    iterator begin() { return m_Elements.begin(); }
    iterator end() { return m_Elements.end(); }
    const_iterator begin() const { return m_Elements.begin(); }
    const_iterator end() const { return m_Elements.end(); }

    iterator Insert(const UnknownElement& element, iterator where);
    iterator Insert(const UnknownElement& element);

    size_t Size() const { return m_Elements.size(); }
    bool Empty() const { return m_Elements.empty(); }

    bool operator==(const Array& other) const;
    bool operator!=(const Array& other) const { return !(*this == other); }

private:
    Elements m_Elements;
};

class Object
{
public:
    struct Member
    {
        Member(const std::string& name_in = std::string(),
               const UnknownElement& element_in = UnknownElement())
            : name(name_in), element(element_in)
        {
        }
        bool operator==(const Member& other) const { return name == other.name && element == other.element; }
        bool operator!=(const Member& other) const { return !(*this == other); }

        std::string name;
        UnknownElement element;
    };

    typedef std::list<Member> Members;
    typedef Members::iterator iterator;
    typedef Members::const_iterator const_iterator;

    // True for the member whose name is exactly the given one.
    class Finder
    {
    public:
        explicit Finder(const std::string& name) : m_name(name) {}
        bool operator()(const Member& member) const { return member.name == m_name; }

    private:
        std::string m_name;
    };

    iterator Begin() { return m_Members.begin(); }
    iterator End() { return m_Members.end(); }
    const_iterator Begin() const { return m_Members.begin(); }
    const_iterator End() const { return m_Members.end(); }
    iterator begin() { return m_Members.begin(); }
    iterator end() { return m_Members.end(); }
    const_iterator begin() const { return m_Members.begin(); }
    const_iterator end() const { return m_Members.end(); }

    iterator Find(const std::string& name);
    const_iterator Find(const std::string& name) const;

    // Appends a null member when the name is absent.
    UnknownElement& operator[](const std::string& name);
    // Throws "Object member not found: <name>" when the name is absent.
    const UnknownElement& operator[](const std::string& name) const;

    // Throws "Object member already exists: <name>" and changes nothing
    // when the name is taken.
    iterator Insert(const Member& member, iterator where);
    iterator Insert(const Member& member);

    size_t Size() const { return m_Members.size(); }
    bool Empty() const { return m_Members.empty(); }

    bool operator==(const Object& other) const;
    bool operator!=(const Object& other) const { return !(*this == other); }

private:
    // The reader appends members whose names it has already checked.
    friend class Reader;

    Members m_Members;
};

// Internals of UnknownElement, visible here for the member templates.

class UnknownElement::Imp
{
public:
    virtual ~Imp() {}
    virtual Imp* Clone() const = 0;
    virtual bool Compare(const Imp& other) const = 0;
    virtual void Accept(ConstVisitor& visitor) const = 0;
    virtual void Accept(Visitor& visitor) = 0;
};

class UnknownElement::CastVisitor : public Visitor
{
public:
    void Visit(Array&) override {}
    void Visit(Object&) override {}
    void Visit(Number&) override {}
    void Visit(String&) override {}
    void Visit(Boolean&) override {}
    void Visit(Null&) override {}
};

class UnknownElement::ConstCastVisitor : public ConstVisitor
{
public:
    void Visit(const Array&) override {}
    void Visit(const Object&) override {}
    void Visit(const Number&) override {}
    void Visit(const String&) override {}
    void Visit(const Boolean&) override {}
    void Visit(const Null&) override {}
};

template <typename T> class UnknownElement::CastVisitor_T : public CastVisitor
{
public:
    using CastVisitor::Visit;
    void Visit(T& t) override { m_pT = &t; }
    T* m_pT = nullptr;
};

template <typename T> class UnknownElement::ConstCastVisitor_T : public ConstCastVisitor
{
public:
    using ConstCastVisitor::Visit;
    void Visit(const T& t) override { m_pT = &t; }
    const T* m_pT = nullptr;
};

template <typename T> class UnknownElement::Imp_T : public UnknownElement::Imp
{
public:
    explicit Imp_T(const T& t) : m_Element(t) {}

    Imp* Clone() const override { return new Imp_T<T>(m_Element); }

    bool Compare(const Imp& other) const override
    {
        ConstCastVisitor_T<T> finder;
        other.Accept(finder);
        return finder.m_pT && m_Element == *finder.m_pT;
    }

    void Accept(ConstVisitor& visitor) const override { visitor.Visit(m_Element); }
    void Accept(Visitor& visitor) override { visitor.Visit(m_Element); }

private:
    T m_Element;
};

template <typename T> T* UnknownElement::FindValue()
{
    CastVisitor_T<T> finder;
    m_pImp->Accept(finder);
    return finder.m_pT;
}

template <typename T> const T* UnknownElement::FindValue() const
{
    ConstCastVisitor_T<T> finder;
    static_cast<const Imp*>(m_pImp)->Accept(finder);
    return finder.m_pT;
}

template <typename T> const T& UnknownElement::CastTo() const
{
    const T* value = FindValue<T>();
    if (!value) throw Exception("Bad cast");
    return *value;
}

template <typename T> T& UnknownElement::ConvertTo()
{
    T* value = FindValue<T>();
    if (!value)
    {
        *this = UnknownElement(T());
        value = FindValue<T>();
    }
    return *value;
}

} // namespace json
