#include "platform/win32/DeviceContext.h"

#include "platform/win32/GdiObject.h"

#include <gtest/gtest.h>

namespace {

HGDIOBJ CurrentBitmap(HDC dc)
{
    return GetCurrentObject(dc, OBJ_BITMAP);
}

TEST(DeviceContextTest, SelectedObjectPutsBackTheOneItReplacedInNestedSelections)
{
    const TMemoryDc dc(nullptr);
    ASSERT_TRUE(dc.Get());
    const TBitmap first(CreateCompatibleBitmap(dc.Get(), 1, 1));
    const TBitmap second(CreateCompatibleBitmap(dc.Get(), 1, 1));
    ASSERT_TRUE(first && second);
    const HGDIOBJ original = CurrentBitmap(dc.Get());
    {
        const TSelectedObject outer(dc.Get(), first.Get());
        EXPECT_EQ(CurrentBitmap(dc.Get()), first.Get());
        {
            const TSelectedObject inner(dc.Get(), second.Get());
            EXPECT_EQ(CurrentBitmap(dc.Get()), second.Get());
        }
        EXPECT_EQ(CurrentBitmap(dc.Get()), first.Get());
    }
    EXPECT_EQ(CurrentBitmap(dc.Get()), original);
}

TEST(DeviceContextTest, SavedStateComesBackWithEveryStateSavedAfterIt)
{
    const TMemoryDc dc(nullptr);
    ASSERT_TRUE(dc.Get());
    SetTextColor(dc.Get(), RGB(1, 2, 3));
    const int depth = SaveDC(dc.Get());
    {
        const TSavedDcState saved(dc.Get());
        SetTextColor(dc.Get(), RGB(4, 5, 6));
        SaveDC(dc.Get());
        SetTextColor(dc.Get(), RGB(7, 8, 9));
    }
    EXPECT_EQ(GetTextColor(dc.Get()), RGB(1, 2, 3));
    // The state saved before the owner's is still there to restore.
    EXPECT_TRUE(RestoreDC(dc.Get(), depth));
}

TEST(DeviceContextTest, MemoryDcIsDeletedWithItsOwner)
{
    HDC made = nullptr;
    {
        const TMemoryDc dc(nullptr);
        made = dc.Get();
        EXPECT_EQ(GetObjectType(made), static_cast<DWORD>(OBJ_MEMDC));
    }
    EXPECT_EQ(GetObjectType(made), 0u);
}

} // namespace
