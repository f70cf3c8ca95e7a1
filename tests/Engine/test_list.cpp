// Lists and the lock object.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "EngDebug.h"
#include "EngList.h"
#include "EngMain.h"
#include "EngMutex.h"
#include "support/TestSupport.h"

namespace
{

class Lists : public vztest::LogTest
{
};

int IntAt(EngIndexedList& l, int i)
{
    int v = -1;
    EXPECT_EQ(l.CopyEntryData(i, sizeof(v), &v), 1) << i;
    return v;
}

TEST_F(Lists, IndexedListGrowsAndKeepsIndices)
{
    EngIndexedList l(0);
    for (int i = 0; i < 65; i++)
        ASSERT_EQ(l.AddEntry(&i, sizeof(i)), i);
    EXPECT_EQ(l.GetCapacity(), 128);
    for (int i = 0; i < 65; i++)
        EXPECT_EQ(IntAt(l, i), i);
    EXPECT_EQ(l.AddEntry(&l, 0), -1);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngIndexedList::DoAdd )    Data size not ok");

    // Removing index 1 moves the later entries down.
    EngIndexedList three;
    for (int v : {10, 11, 12})
        three.AddEntry(&v, sizeof(v));
    EXPECT_EQ(three.RemoveEntry(1), 1);
    EXPECT_EQ(three.GetNumEntries(), 2);
    EXPECT_EQ(IntAt(three, 1), 12);
    EXPECT_EQ(three.RemoveEntry(2), 0);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngIndexedList::RemoveEntry )    Bad num 2 (2).");
    int probe = 12, where = -1;
    EXPECT_EQ(three.DoesEntryDataExist(&probe, sizeof(probe), &where), 1);
    EXPECT_EQ(where, 1);
    EXPECT_EQ(three.RemoveEntry(0), 1);
    EXPECT_EQ(three.RemoveEntry(0), 1);
    EXPECT_EQ(three.GetNumEntries(), 0);
    EXPECT_EQ(three.RemoveEntry(0), 0);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngIndexedList::RemoveEntry )    No list.");
}

TEST_F(Lists, IndexedListRefusals)
{
    EngIndexedList l;
    int owned = 7;
    static int borrowed_value = 9;
    void* borrowed = &borrowed_value;
    l.AddEntry(&owned, sizeof(owned));
    l.AddEntryP(&borrowed, sizeof(int));

    EXPECT_EQ(l.RemoveEntry(0), 0);
    EXPECT_EQ(LastLine(),
              " <ERROR>  ( EngIndexedList::RemoveEntry )    Not implemented for mixed type lists.");
    EXPECT_EQ(l.GetNumEntries(), 2);

    int value = 1;
    EXPECT_EQ(l.OverwriteEntryData(1, &value, sizeof(value)), 0);
    EXPECT_EQ(LastLine(),
              " <ERROR>  ( EngIndexedList::OverwriteEntryData )    Did not create the data memory 1");
    EXPECT_EQ(l.OverwriteEntryData(0, &value, 2), 0);
    EXPECT_EQ(l.OverwriteEntryData(0, &value, sizeof(value)), 1);
    EXPECT_EQ(IntAt(l, 0), 1);

    // A destination smaller than the entry is refused, not overrun.
    char small[2] = {'a', 'b'};
    EXPECT_EQ(l.CopyEntryData(0, sizeof(small), small), 0);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngIndexedList::CopyEntryData )    Bad Parameters");
    EXPECT_EQ(small[0], 'a');
    EXPECT_EQ(l.GetEntryData(5, nullptr), nullptr);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngIndexedList::GetEntryData )    Entry does not exits (5, 2)");
}

TEST_F(Lists, IndexedListStaysUsableAfterAFailedAllocation)
{
    EngIndexedList l;
    int a = 1, b = 2;
    l.AddEntry(&a, sizeof(a));
    // The entry record is allocated, its data is not.
    EngMainFailAllocationForTests(1);
    EXPECT_EQ(l.AddEntry(&b, sizeof(b)), -1);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngIndexedList::DoAdd )    No memory for element data");
    EXPECT_EQ(l.AddEntry(&b, sizeof(b)), 1);
    EXPECT_EQ(IntAt(l, 1), 2);
}

int CompareInts(const void* x, const void* y)
{
    int a = *static_cast<int*>(EngIndexedList_GetDataFromSortPointer(x, 1));
    int b = *static_cast<int*>(EngIndexedList_GetDataFromSortPointer(y, 1));
    return a - b;
}

TEST_F(Lists, IndexedListSorts)
{
    EngIndexedList l;
    for (int v : {3, 1, 2})
        l.AddEntry(&v, sizeof(v));
    l.Sort(CompareInts);
    EXPECT_EQ(IntAt(l, 0), 1);
    EXPECT_EQ(IntAt(l, 1), 2);
    EXPECT_EQ(IntAt(l, 2), 3);
}

// Builds [A, B, C] of one-character elements with the given current position.
void Abc(EngLinkedList& l, int current)
{
    l.SetElementConstantSize(1);
    for (char c : {'A', 'B', 'C'})
        l.Add(&c);
    ASSERT_EQ(l.SetCurrentPos(current), 1);
}

char CurrentChar(EngLinkedList& l)
{
    return l.GetCurrentElement() ? *static_cast<char*>(l.GetCurrentElement()->data) : '?';
}

TEST_F(Lists, LinkedListRemovalMovesTheCurrentElement)
{
    const struct
    {
        int current, remove;
        char new_current;
        int new_pos;
    } cases[] = {
        {2, 2, 'A', 0}, // the tail, current
        {1, 0, 'B', 0}, // the head, before current
        {0, 1, 'A', 0}, // the middle, after current
        {1, 1, 'A', 0}, // the current one
    };
    for (const auto& c : cases)
    {
        EngLinkedList l;
        Abc(l, c.current);
        ASSERT_EQ(l.RemoveItemFromList(c.remove), 1);
        EXPECT_EQ(l.GetNumElements(), 2);
        EXPECT_EQ(CurrentChar(l), c.new_current) << c.current << " " << c.remove;
        EXPECT_EQ(l.GetCurrentPos(), c.new_pos) << c.current << " " << c.remove;
        EXPECT_TRUE(l.IsListOk());
    }
    EngLinkedList l;
    Abc(l, 0);
    for (int i = 0; i < 3; i++)
        ASSERT_EQ(l.RemoveItemFromList(0), 1);
    EXPECT_EQ(l.GetCurrentElement(), nullptr);
    EXPECT_EQ(l.GetCurrentPos(), -1);
    EXPECT_EQ(l.RemoveItemFromList(0), 0);
    char d = 'D';
    EXPECT_EQ(l.Add(&d), 0) << "an emptied list takes new elements";
    EXPECT_EQ(CurrentChar(l), 'D');
}

TEST_F(Lists, LinkedListSizesAndBorrowedData)
{
    EngLinkedList l;
    Abc(l, 0);
    short wrong = 1;
    EXPECT_EQ(l.Add(&wrong, sizeof(wrong), 0), -1);
    EXPECT_NE(LastLine().find("Data size is not constant data size (2 != 1)"), std::string::npos);
    EXPECT_EQ(l.GetElement(3), nullptr);
    EXPECT_EQ(LastLine(), " <ERROR>  ( EngLinkedList::GetElement )    Bad index 3 [max = 3]");

    // A failed SetCurrentPos keeps the list usable.
    EXPECT_EQ(l.SetCurrentPos(7), 0);
    EXPECT_TRUE(l.IsListOk());
    EXPECT_EQ(CurrentChar(l), 'A');

    EngLinkedList b;
    char target[2] = {'x', 0};
    void* p = target;
    b.SetElementConstantSize(1);
    ASSERT_EQ(b.AddP(&p), 0);
    char y = 'y';
    EXPECT_EQ(b.OverwriteData(0, &y), 1);
    EXPECT_EQ(target[0], 'y') << "overwrite writes through a borrowed pointer";
    int where = -1;
    EXPECT_EQ(b.DoesEntryDataExist(&y, &where), 1);
    EXPECT_EQ(where, 0);
    char out = 0;
    EXPECT_EQ(b.CopyElementData(0, &out), 1);
    EXPECT_EQ(out, 'y');
    EXPECT_EQ(b.RemoveElement(b.GetElement(0)), 1);
    EXPECT_EQ(target[0], 'y') << "borrowed data is not freed";
}

TEST(Mutex, LocksAcrossThreadsWithATimeOut)
{
    EngMutex m(0.05);
    ASSERT_EQ(m.Lock(), 1);
    ASSERT_EQ(m.Lock(), 1) << "recursive";
    std::atomic<int> other{-1}, stranger_unlock{-1};
    std::thread t(
        [&]
        {
            other = m.Lock();
            stranger_unlock = m.Unlock();
        });
    t.join();
    EXPECT_EQ(other, 0) << "held by another thread: times out";
    EXPECT_EQ(stranger_unlock, 0);
    EXPECT_EQ(m.Unlock(), 1);
    EXPECT_EQ(m.Unlock(), 1);
    EXPECT_EQ(m.Unlock(), 0) << "no longer held";
    std::thread t2(
        [&]
        {
            other = m.Lock();
            m.Unlock();
        });
    t2.join();
    EXPECT_EQ(other, 1);
}

} // namespace
