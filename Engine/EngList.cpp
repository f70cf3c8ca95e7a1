// Lists: the indexed list and the linked list.
#include "EngList.h"

#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngMain.h"

EngIndexedList::EngIndexedList(int step)
    : entries(nullptr), count(0), capacity(0), grow_step(step > 0 ? step : 64)
{
}

EngIndexedList::~EngIndexedList()
{
    RemoveAllEntries();
}

void EngIndexedList::Exit()
{
    RemoveAllEntries();
}

EngInt32 EngIndexedList::AddEntry(const void* data, int length)
{
    return DoAdd(data, nullptr, length, 0);
}

EngInt32 EngIndexedList::AddEmptyEntry(int length)
{
    return DoAdd(nullptr, nullptr, length, 1);
}

EngInt32 EngIndexedList::AddEntryP(void** pointer, int length)
{
    return DoAdd(nullptr, pointer, length, 0);
}

EngInt32 EngIndexedList::DoAdd(const void* data, void** pointer, int length, char zeroed)
{
    if (data && pointer)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Parameters not ok");
        return -1;
    }
    if (length <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Data size not ok");
        return -1;
    }
    if (!entries)
    {
        entries = static_cast<EngIndexedListEntry**>(
            EngMalloc(sizeof(EngIndexedListEntry*) * size_t(grow_step), __PRETTY_FUNCTION__, 1));
        if (!entries)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory(1)");
            return -1;
        }
        capacity = grow_step;
        count = 0;
    }
    else if (count == capacity)
    {
        size_t slots = size_t(capacity) + size_t(grow_step);
        auto** grown = static_cast<EngIndexedListEntry**>(
            EngMalloc(sizeof(EngIndexedListEntry*) * slots, __PRETTY_FUNCTION__, 1));
        if (!grown)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory(2)");
            return -1;
        }
        memcpy(grown, entries, sizeof(EngIndexedListEntry*) * size_t(capacity));
        EngFree(entries, 0, nullptr);
        entries = grown;
        capacity = EngInt32(slots);
    }
    if (entries[count])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Internal Error");
        return -1;
    }
    auto* entry =
        static_cast<EngIndexedListEntry*>(EngMalloc(sizeof(EngIndexedListEntry), __PRETTY_FUNCTION__, 1));
    if (!entry)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory for element");
        return -1;
    }
    if (data || zeroed)
    {
        entry->data = EngMalloc(size_t(length), __PRETTY_FUNCTION__, zeroed);
        if (!entry->data)
        {
            // The slot stays free so that the list remains usable.
            EngFree(entry, 0, nullptr);
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory for element data");
            return -1;
        }
        if (data)
            memcpy(entry->data, data, size_t(length));
        entry->length = length;
        entry->owned = 1;
    }
    else
    {
        entry->data = pointer ? *pointer : nullptr;
        entry->length = pointer ? length : 0;
        entry->owned = 0;
    }
    entries[count] = entry;
    return count++;
}

char EngIndexedList::RemoveEntry(int index)
{
    if (!entries)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No list.");
        return 0;
    }
    if (index < 0 || index >= count)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad num %d (%d).", index, count);
        return 0;
    }
    for (int i = 1; i < count; i++)
    {
        if (entries[i]->owned != entries[0]->owned)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Not implemented for mixed type lists.");
            return 0;
        }
    }
    EngIndexedListEntry* gone = entries[index];
    if (gone->owned)
        EngFree(gone->data, 0, nullptr);
    gone->data = nullptr;
    gone->length = 0;
    if (count == 1)
        return RemoveAllEntries();
    for (int i = index; i < count - 1; i++)
        *entries[i] = *entries[i + 1];
    EngFree(entries[count - 1], 0, nullptr);
    entries[count - 1] = nullptr;
    count--;
    return 1;
}

char EngIndexedList::RemoveAllEntries()
{
    if (entries)
    {
        for (int i = 0; i < capacity; i++)
        {
            EngIndexedListEntry* e = entries[i];
            if (!e)
                continue;
            if (e->owned == 1)
                EngFree(e->data, 0, nullptr);
            else if (e->owned != 0)
                DebugErrorAlt(__PRETTY_FUNCTION__, "Problem in element data.");
            EngFree(e, 0, nullptr);
        }
        EngFree(entries, 0, nullptr);
    }
    entries = nullptr;
    count = 0;
    capacity = 0;
    return 1;
}

EngInt32 EngIndexedList::GetNumEntries() const
{
    return entries ? count : 0;
}

EngIndexedListEntry* EngIndexedList::Entry(int index, const char* func)
{
    if (!entries || index < 0 || index >= count)
    {
        DebugErrorAlt(func, "Entry does not exits (%ld, %ld)", long(index), long(count));
        return nullptr;
    }
    if (!entries[index])
    {
        DebugErrorAlt(func, "No element at index %ld", long(index));
        return nullptr;
    }
    if (!entries[index]->data)
    {
        DebugErrorAlt(func, "No data at index %ld", long(index));
        return nullptr;
    }
    return entries[index];
}

void* EngIndexedList::GetEntryData(int index, EngInt32* length_out)
{
    EngIndexedListEntry* e = Entry(index, __PRETTY_FUNCTION__);
    if (length_out)
        *length_out = e ? e->length : 0;
    return e ? e->data : nullptr;
}

char EngIndexedList::CopyEntryData(int index, int length, void* dest)
{
    if (!dest)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad Parameters");
        return 0;
    }
    EngIndexedListEntry* e = Entry(index, __PRETTY_FUNCTION__);
    if (!e)
        return 0;
    if (length < e->length)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad Parameters");
        return 0;
    }
    memcpy(dest, e->data, size_t(e->length));
    return 1;
}

char EngIndexedList::OverwriteEntryData(int index, const void* data, int length)
{
    if (!data)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No data passed in");
        return 0;
    }
    EngIndexedListEntry* e = Entry(index, __PRETTY_FUNCTION__);
    if (!e)
        return 0;
    if (!e->owned)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Did not create the data memory %ld", long(index));
        return 0;
    }
    if (e->length != length)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Size not ok (can be updated to re-alloc if desired)");
        return 0;
    }
    memcpy(e->data, data, size_t(length));
    return 1;
}

char EngIndexedList::DoesEntryDataExist(const void* data, int length, int* index_out)
{
    if (!entries || !data || length <= 0)
        return 0;
    for (int i = 0; i < count; i++)
    {
        EngIndexedListEntry* e = entries[i];
        if (e && e->data && e->length == length && memcmp(e->data, data, size_t(length)) == 0)
        {
            if (index_out)
                *index_out = i;
            return 1;
        }
    }
    return 0;
}

void EngIndexedList::Sort(int (*compare)(const void*, const void*))
{
    if (entries && compare && count >= 2)
        qsort(entries, size_t(count), sizeof(EngIndexedListEntry*), compare);
}

void* EngIndexedList_GetDataFromSortPointer(const void* p, char report)
{
    const EngIndexedListEntry* e = p ? *static_cast<EngIndexedListEntry* const*>(p) : nullptr;
    if (e && e->data && e->length > 0)
        return e->data;
    if (report)
        DebugErrorAlt(__PRETTY_FUNCTION__, "No data");
    return nullptr;
}

EngLinkedList::EngLinkedList()
    : count(0), head(nullptr), tail(nullptr), current(nullptr), current_pos(0), constant_size(0)
{
}

EngLinkedList::~EngLinkedList()
{
    Exit();
}

void EngLinkedList::Exit()
{
    ReleaseAll();
    count = 0;
    head = tail = current = nullptr;
    current_pos = 0;
}

char EngLinkedList::IsListOk() const
{
    if (!head != !tail)
        return 0;
    if (head && (head->previous || tail->next))
        return 0;
    if (count == 0)
        return !head && !tail;
    if (count < 0 || !head)
        return 0;
    if (count == 1 && head != tail)
        return 0;
    if (count >= 2 && (!head->next || !tail->previous))
        return 0;
    return current && current_pos >= 0 && current_pos < count;
}

void EngLinkedList::SetElementConstantSize(int size)
{
    if (size < 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid constant data size %lu",
                      static_cast<unsigned long>(long(size)));
        size = 0;
    }
    constant_size = size;
}

char EngLinkedList::CheckSize(int size, const char* caller) const
{
    if (size <= 0)
    {
        DebugError(caller, "Invalid data size %lu", static_cast<unsigned long>(long(size)));
        return 0;
    }
    if (constant_size && size != constant_size)
    {
        DebugError(caller, "Data size is not constant data size (%lu != %lu)",
                   static_cast<unsigned long>(size), static_cast<unsigned long>(constant_size));
        return 0;
    }
    return 1;
}

EngInt32 EngLinkedList::Add(const void* data)
{
    return DoAdd(data, nullptr, constant_size, 1, 0);
}

EngInt32 EngLinkedList::Add(const void* data, int size, char make_current)
{
    return DoAdd(data, nullptr, size, make_current, 0);
}

EngInt32 EngLinkedList::AddP(void** pointer)
{
    return DoAdd(nullptr, pointer, constant_size, 1, 0);
}

EngInt32 EngLinkedList::AddP(void** pointer, int size, char make_current)
{
    return DoAdd(nullptr, pointer, size, make_current, 0);
}

EngInt32 EngLinkedList::AddEmpty(char make_current)
{
    return DoAdd(nullptr, nullptr, constant_size, make_current, 1);
}

EngInt32 EngLinkedList::AddEmpty(int size, char make_current)
{
    return DoAdd(nullptr, nullptr, size, make_current, 1);
}

EngInt32 EngLinkedList::DoAdd(const void* data, void** pointer, int size, char make_current, char empty)
{
    if (!IsListOk())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "List not ok");
        return -1;
    }
    if (!CheckSize(size, __PRETTY_FUNCTION__))
        return -1;
    if (data && pointer)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Parameters not ok");
        return -1;
    }
    auto* e =
        static_cast<_EngLinkedListElement*>(EngMalloc(sizeof(_EngLinkedListElement), __PRETTY_FUNCTION__, 1));
    if (!e)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory for m_list entry");
        return -1;
    }
    if (data || empty)
    {
        e->data = EngMalloc(size_t(size), __PRETTY_FUNCTION__, 0);
        if (!e->data)
        {
            EngFree(e, 0, nullptr);
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory for element data");
            return -1;
        }
        if (data)
            memcpy(e->data, data, size_t(size));
        e->size = size;
        e->owned = 1;
    }
    else
    {
        e->data = pointer ? *pointer : nullptr;
        e->size = pointer ? size : 0;
        e->owned = 0;
    }
    e->previous = tail;
    if (tail)
        tail->next = e;
    else
        head = e;
    tail = e;
    count++;
    if (!current)
    {
        current = head;
        current_pos = 0;
    }
    if (make_current)
        SetCurrentPos(count - 1);
    return count - 1;
}

_EngLinkedListElement* EngLinkedList::Walk(int index) const
{
    _EngLinkedListElement* e = head;
    for (int i = 0; e && i < index; i++)
        e = e->next;
    return e;
}

char EngLinkedList::SetCurrentPos(int pos)
{
    if (!IsListOk())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "List not ok");
        return 0;
    }
    if (pos < 0 || pos >= count)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad pos [max = %ld]", long(count));
        return 0;
    }
    _EngLinkedListElement* e = Walk(pos);
    if (!e)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "List problem");
        return 0;
    }
    current = e;
    current_pos = pos;
    return 1;
}

EngInt32 EngLinkedList::GetNumElements() const
{
    return IsListOk() ? count : 0;
}

_EngLinkedListElement* EngLinkedList::GetElement(int index)
{
    if (!IsListOk())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "List not ok");
        return nullptr;
    }
    if (index < 0 || index >= count)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad index %ld [max = %ld]", long(index), long(count));
        return nullptr;
    }
    _EngLinkedListElement* e = Walk(index);
    if (!e)
        DebugErrorAlt(__PRETTY_FUNCTION__, "List problem");
    return e;
}

void* EngLinkedList::GetElementData(int index, EngInt32* size_out)
{
    if (size_out)
        *size_out = 0;
    _EngLinkedListElement* e = GetElement(index);
    if (!e)
        return nullptr;
    if (!e->data)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No data at index %ld", long(index));
        return nullptr;
    }
    if (size_out)
        *size_out = e->size;
    return e->data;
}

void* EngLinkedList::GetElementData(int index, int size)
{
    EngInt32 have = 0;
    void* data = GetElementData(index, &have);
    if (data && have != size)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Data size of element %ld is not %ld", long(have), long(size));
        return nullptr;
    }
    return data;
}

void* EngLinkedList::SizedData(const char* func, int index, int size, const void* other, const char* no_other,
                               const char* bad_size)
{
    if (!CheckSize(size, func))
        return nullptr;
    if (!other)
    {
        DebugErrorAlt(func, "%s", no_other);
        return nullptr;
    }
    EngInt32 have = 0;
    void* data = GetElementData(index, &have);
    if (!data)
        return nullptr;
    if (have != size)
    {
        DebugErrorAlt(func, "%s", bad_size);
        return nullptr;
    }
    return data;
}

char EngLinkedList::CopyElementData(int index, int size, void* dest)
{
    void* data = SizedData(__PRETTY_FUNCTION__, index, size, dest, "Bad Parameters", "Data size not ok");
    if (!data)
        return 0;
    memcpy(dest, data, size_t(size));
    return 1;
}

char EngLinkedList::CopyElementData(int index, void* dest)
{
    return CopyElementData(index, constant_size, dest);
}

char EngLinkedList::OverwriteData(int index, const void* data, int size)
{
    void* dest = SizedData(__PRETTY_FUNCTION__, index, size, data, "No data passed in",
                           "Size not ok (can be updated to re-alloc if desired)");
    if (!dest)
        return 0;
    memcpy(dest, data, size_t(size));
    return 1;
}

char EngLinkedList::OverwriteData(int index, const void* data)
{
    return OverwriteData(index, data, constant_size);
}

char EngLinkedList::DoesEntryDataExist(const void* data, int size, int* index_out)
{
    if (!CheckSize(size, __PRETTY_FUNCTION__) || !data)
        return 0;
    int i = 0;
    for (_EngLinkedListElement* e = head; e; e = e->next, i++)
    {
        if (i >= count)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Checked too many");
            return 0;
        }
        if (e->data && e->size == size && memcmp(e->data, data, size_t(size)) == 0)
        {
            if (index_out)
                *index_out = i;
            return 1;
        }
    }
    return 0;
}

char EngLinkedList::DoesEntryDataExist(const void* data, int* index_out)
{
    return DoesEntryDataExist(data, constant_size, index_out);
}

char EngLinkedList::RemoveItemFromList(int index)
{
    if (!IsListOk())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "List not ok");
        return 0;
    }
    if (index < 0 || index >= count)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Index not valid");
        return 0;
    }
    if (!head)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "List Corrupted");
        return 0;
    }
    _EngLinkedListElement* e = Walk(index);
    if (!e)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "List Corrupted (2)");
        return 0;
    }
    int p = current_pos;
    if (index <= current_pos)
        p--;
    if (e == tail)
    {
        tail = e->previous;
        if (tail)
            tail->next = nullptr;
        else
            head = nullptr;
        p--;
    }
    else if (e == head)
    {
        head = e->next;
        head->previous = nullptr;
    }
    else
    {
        e->previous->next = e->next;
        e->next->previous = e->previous;
    }
    count--;
    if (e->owned)
        EngFree(e->data, 0, nullptr);
    EngFree(e, 0, nullptr);
    if (count == 0)
    {
        current = nullptr;
        current_pos = -1;
        head = tail = nullptr;
        return 1;
    }
    if (p > count - 1)
        p = count - 1;
    if (p < 0)
        p = 0;
    if (!head)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "List Corrupted (3)");
        return 0;
    }
    _EngLinkedListElement* c = Walk(p);
    if (!c)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "List Corrupted (4)");
        return 0;
    }
    current = c;
    current_pos = p;
    return 1;
}

char EngLinkedList::RemoveElement(_EngLinkedListElement* element)
{
    if (!IsListOk() || !element)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "List Corrupted");
        return 0;
    }
    int i = 0;
    for (_EngLinkedListElement* e = head; e; e = e->next, i++)
    {
        if (i >= count)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "List Corrupted (2)");
            return 0;
        }
        if (e == element)
            return RemoveItemFromList(i);
    }
    DebugErrorAlt(__PRETTY_FUNCTION__, "Could not find element in list");
    return 0;
}

char EngLinkedList::ReleaseAll()
{
    int freed = 0;
    _EngLinkedListElement* e = head;
    while (e)
    {
        _EngLinkedListElement* next = e->next;
        if (e->owned)
            EngFree(e->data, 0, nullptr);
        EngFree(e, 0, nullptr);
        freed++;
        e = next;
    }
    char ok = 1;
    if (freed > count)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Freed too many");
        ok = 0;
    }
    count = 0;
    head = tail = current = nullptr;
    current_pos = -1;
    return ok;
}
