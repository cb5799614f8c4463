#include <gtest/gtest.h>

#include "ui/core/ptr_array.h"
#include "ui/core/string_ptr_map.h"

namespace {

using SkinUI::PtrArray;
using SkinUI::StringPtrMap;

int slots[20];

TEST(PtrArray, AddInsertRemoveFind) {
    PtrArray a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetAt(0), nullptr);
    for (int i = 0; i < 15; ++i) EXPECT_TRUE(a.Add(&slots[i]));
    EXPECT_EQ(a.GetSize(), 15);
    EXPECT_TRUE(a.InsertAt(0, &slots[19]));
    EXPECT_TRUE(a.InsertAt(16, &slots[18]));
    EXPECT_FALSE(a.InsertAt(18, &slots[17]));
    EXPECT_FALSE(a.InsertAt(-1, &slots[17]));
    EXPECT_EQ(a[0], &slots[19]);
    EXPECT_EQ(a[16], &slots[18]);
    EXPECT_EQ(a.Find(&slots[3]), 4);
    EXPECT_EQ(a.Find(&slots[17]), -1);
    EXPECT_TRUE(a.Remove(0));
    EXPECT_FALSE(a.Remove(16));
    EXPECT_EQ(a.Find(&slots[3]), 3);
    EXPECT_EQ(a.GetAt(16), nullptr);
    EXPECT_EQ(a.GetAt(-1), nullptr);
    EXPECT_TRUE(a.Resize(20));
    EXPECT_EQ(a.GetAt(19), nullptr);
    EXPECT_FALSE(a.Resize(-1));
    PtrArray b = a;
    EXPECT_EQ(b.GetSize(), 20);
    EXPECT_EQ(b[3], &slots[3]);
    a.Empty();
    EXPECT_EQ(a.GetSize(), 0);
}

TEST(StringPtrMap, HashRunsFromTheLastCharacter) {
    // "ab": h = 'b'; h = h * 33 + 'a'.
    EXPECT_EQ(StringPtrMap::Hash(UI_TEXT("ab")), 98u * 33u + 97u);
    EXPECT_EQ(StringPtrMap::Hash(UI_TEXT("")), 0u);
}

TEST(StringPtrMap, InsertSetRemoveAndPositions) {
    StringPtrMap m;
    EXPECT_TRUE(m.Insert(UI_TEXT("one"), &slots[1]));
    EXPECT_FALSE(m.Insert(UI_TEXT("one"), &slots[2])) << "an existing key is refused";
    EXPECT_EQ(m.Find(UI_TEXT("one")), &slots[1]);
    EXPECT_EQ(m.Find(UI_TEXT("One")), nullptr) << "keys compare exactly";
    EXPECT_EQ(m.Set(UI_TEXT("one"), &slots[3]), &slots[1]);
    EXPECT_EQ(m.Set(UI_TEXT("two"), &slots[4]), nullptr);
    EXPECT_EQ(m.GetSize(), 2);
    // Many keys land in shared buckets (83 of them).
    for (int i = 0; i < 300; ++i) {
        SkinUI::UiString key;
        key.Format(UI_TEXT("k%d"), i);
        ASSERT_TRUE(m.Insert(key, &slots[i % 20]));
    }
    EXPECT_EQ(m.GetSize(), 302);
    int seen = 0;
    for (int i = 0; i < m.GetSize(); ++i) {
        ASSERT_NE(m.GetAt(i), nullptr);
        EXPECT_EQ(m.Find(m.GetAt(i)), m.DataAt(i));
        ++seen;
    }
    EXPECT_EQ(seen, 302);
    EXPECT_EQ(m.GetAt(302), nullptr);
    EXPECT_TRUE(m.Remove(UI_TEXT("k150")));
    EXPECT_FALSE(m.Remove(UI_TEXT("k150")));
    EXPECT_EQ(m.Find(UI_TEXT("k150")), nullptr);
    EXPECT_EQ(m.Find(UI_TEXT("k151")), &slots[151 % 20]);
    m.RemoveAll();
    EXPECT_EQ(m.GetSize(), 0);
    EXPECT_EQ(m.Find(UI_TEXT("one")), nullptr);
}

}  // namespace
