// CDynamicArray: the move from the inline block to the heap, reuse after
// RemoveAll, Reserve's two growth rules and SetCount.
#include "DynamicArray.h"

#include "vlmrlib/CString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DynamicArray, The101stAddMovesEveryStringToAHeapBlockOf125)
{
    CDynamicArray<CString> strings;
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(strings.Add(CString(std::to_string(i).c_str())), i);
    EXPECT_EQ(strings.GetCapacity(), 100);
    EXPECT_EQ(strings.Add("one hundred"), 100);
    EXPECT_EQ(strings.GetCapacity(), 125);
    ASSERT_EQ(strings.GetSize(), 101);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(strings.GetAt(i), CString(std::to_string(i).c_str())) << i;
    EXPECT_EQ(strings.GetAt(100), CString("one hundred"));

    for (int i = 101; i < 126; ++i)
        strings.Add("more");
    EXPECT_EQ(strings.GetCapacity(), 150) << "one step of 25 at a time";
    EXPECT_EQ(strings.GetAt(124), CString("more"));
}

TEST(DynamicArray, RemoveAllKeepsTheStorageAndAddStartsAgainAtZero)
{
    CDynamicArray<CString*> pointers;
    CString a("a"), b("b");
    for (int i = 0; i < 130; ++i)
        pointers.Add(&a);
    pointers.RemoveAll();
    EXPECT_EQ(pointers.GetSize(), 0);
    EXPECT_EQ(pointers.GetCapacity(), 150);
    EXPECT_EQ(pointers.Add(&b), 0);
    EXPECT_EQ(pointers.GetAt(0), &b);
    EXPECT_EQ(pointers.GetAt(1), &a) << "the old slots are left as they were";

    pointers.GetAt(1) = &b; // the pointer instantiation hands out the slot
    EXPECT_EQ(pointers.GetAt(1), &b);
    pointers.SetAt(0, nullptr);
    EXPECT_EQ(pointers.GetAt(0), nullptr);
}

TEST(DynamicArray, ReserveGrowsByTheStepOrByTheRequest)
{
    struct Case {
        int request;
        int capacity;
    };
    for (const Case c : {Case{5, 100}, Case{10, 125}, Case{25, 125}, Case{60, 160}}) {
        SCOPED_TRACE(c.request);
        CDynamicArray<int*> array;
        for (int i = 0; i < 95; ++i)
            array.Add(nullptr);
        array.Reserve(c.request);
        EXPECT_EQ(array.GetCapacity(), c.capacity);
        EXPECT_EQ(array.GetSize(), 95);
    }
}

TEST(DynamicArray, SetCountAndSetSize)
{
    CDynamicArray<CString> strings;
    strings.SetCount(150);
    EXPECT_EQ(strings.GetSize(), 100);
    EXPECT_EQ(strings.GetCapacity(), 150);

    strings.SetCount(-3);
    EXPECT_EQ(strings.GetSize(), 0) << "a negative count would let Add write before the storage";

    strings.Add("x");
    EXPECT_EQ(strings.SetSize(2), 2);
    EXPECT_EQ(strings.GetSize(), 2);
    EXPECT_EQ(strings.GetAt(0), CString(""));
}

} // namespace
