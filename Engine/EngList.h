// Lists: EngIndexedList, a growable array of byte entries addressed by index,
// and EngLinkedList, a doubly linked list of byte elements with a current
// element. Both copy the caller's bytes (owned) or keep a borrowed pointer.
#pragma once

#include "EngTypes.h"

struct EngIndexedListEntry
{
    void* data;
    EngInt32 length;
    char owned;
};

class EngIndexedList
{
public:
    explicit EngIndexedList(int grow_step = 64);
    ~EngIndexedList();
    EngIndexedList(const EngIndexedList&) = delete;
    EngIndexedList& operator=(const EngIndexedList&) = delete;

    EngInt32 AddEntry(const void* data, int length);
    EngInt32 AddEmptyEntry(int length);
    EngInt32 AddEntryP(void** pointer, int length);
    EngInt32 DoAdd(const void* data, void** pointer, int length, char zeroed);
    char RemoveEntry(int index);
    char RemoveAllEntries();
    void Exit();

    EngInt32 GetNumEntries() const;
    EngInt32 GetNumEntriesQuick() const { return count; }
    EngInt32 GetCapacity() const { return capacity; }
    void* GetEntryData(int index, EngInt32* length_out);
    void* GetEntryDataQuick(int index) { return entries[index]->data; }
    // Copies the entry into dest, which holds length bytes; refused when the
    // entry is larger.
    char CopyEntryData(int index, int length, void* dest);
    char OverwriteEntryData(int index, const void* data, int length);
    char DoesEntryDataExist(const void* data, int length, int* index_out);
    // compare receives pointers to EngIndexedListEntry pointers.
    void Sort(int (*compare)(const void*, const void*));

private:
    EngIndexedListEntry* Entry(int index, const char* func);

    EngIndexedListEntry** entries;
    EngInt32 count;
    EngInt32 capacity;
    EngInt32 grow_step;
};

// Inside a Sort compare function: the data of the entry p points to, or null.
void* EngIndexedList_GetDataFromSortPointer(const void* p, char report);

struct _EngLinkedListElement
{
    _EngLinkedListElement* previous;
    _EngLinkedListElement* next;
    void* data;
    EngInt32 size;
    char owned;
};

class EngLinkedList
{
public:
    EngLinkedList();
    ~EngLinkedList();
    EngLinkedList(const EngLinkedList&) = delete;
    EngLinkedList& operator=(const EngLinkedList&) = delete;

    char IsListOk() const;
    void SetElementConstantSize(int size);
    char CheckSize(int size, const char* caller) const;

    EngInt32 Add(const void* data);
    EngInt32 Add(const void* data, int size, char make_current);
    EngInt32 AddP(void** pointer);
    EngInt32 AddP(void** pointer, int size, char make_current);
    EngInt32 AddEmpty(char make_current);
    EngInt32 AddEmpty(int size, char make_current);
    EngInt32 DoAdd(const void* data, void** pointer, int size, char make_current, char empty);

    // On failure the current element stays as it was.
    char SetCurrentPos(int pos);
    EngInt32 GetCurrentPos() const { return current_pos; }
    _EngLinkedListElement* GetCurrentElement() const { return current; }
    EngInt32 GetNumElements() const;
    EngInt32 GetNumElementsQuick() const { return count; }
    char IsEmpty() const { return count <= 0; }

    _EngLinkedListElement* GetElement(int index);
    void* GetElementData(int index, EngInt32* size_out);
    void* GetElementData(int index, int size);
    char CopyElementData(int index, int size, void* dest);
    char CopyElementData(int index, void* dest);
    char OverwriteData(int index, const void* data, int size);
    char OverwriteData(int index, const void* data);
    char DoesEntryDataExist(const void* data, int size, int* index_out);
    char DoesEntryDataExist(const void* data, int* index_out);

    // Unlinks and frees the element (and its data when owned).
    char RemoveItemFromList(int index);
    char RemoveElement(_EngLinkedListElement* element);
    char ReleaseAll();
    void Exit();

private:
    // The data of element index when size and other are fine; logs as func
    // with no_other or bad_size when not.
    void* SizedData(const char* func, int index, int size, const void* other, const char* no_other,
                    const char* bad_size);
    _EngLinkedListElement* Walk(int index) const;

    EngInt32 count;
    _EngLinkedListElement* head;
    _EngLinkedListElement* tail;
    _EngLinkedListElement* current;
    EngInt32 current_pos;
    EngInt32 constant_size;
};
