// The icon holder and the layer's icon object it hands out.
#include "WinTestKit.h"
#include "elements/win/TQorIcon.h"
#include "winlayer/WinIcon.h"

using namespace winlayer;
using namespace wintest;

namespace {

// A real icon of the given size with a colour bitmap (32 bits per pixel).
HICON ColourIcon(int Size)
{
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, Size, Size);
    ReleaseDC(nullptr, screen);
    HBITMAP mask = CreateBitmap(Size, Size, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colour);
    DeleteObject(mask);
    return icon;
}

bool IconAlive(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return false;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

} // namespace

TEST(TQorIcon, IconIsNullUntilSetAndThenTheHeldIconObject)
{
    Running running;
    struct Case {
        bool Set;
        int Size; // 0: an empty handle
        uint8_t Kind;
    };
    for (const Case c : {Case{false, 0, dtNull}, Case{true, 0, dtIcon}, Case{true, 48, dtIcon}}) {
        TQorIcon holder;
        holder.Color = 0xFFFFFF;
        HICON handle = c.Size ? ColourIcon(c.Size) : nullptr;
        if (c.Set)
            holder.SetIcon(handle);

        TPointLink input;
        LinkData(input, &holder, &TQorIcon::Icon, 0);
        TData answer;
        answer.dtInteger(7); // whatever the reader held before
        ReadRaw(answer, input);
        ASSERT_EQ(answer.DataType, c.Kind) << "set " << c.Set << " size " << c.Size;
        if (c.Kind == dtIcon) {
            ASSERT_NE(AsIcon(answer), nullptr);
            EXPECT_EQ(AsIcon(answer), holder.FIcon) << "the holder's own object, not a copy";
            EXPECT_EQ(AsIcon(answer)->Handle(), handle);
            EXPECT_EQ(AsIcon(answer)->Width(), c.Size) << "size from the colour bitmap";
            EXPECT_EQ(AsIcon(answer)->Height(), c.Size);
        }
    }
}

TEST(TWinIcon, DestroysAnOwnedIconButNeverASharedOneAndReadsItsSize)
{
    const int32_t liveBefore = TWinObject::LiveObjects();

    HICON held = ColourIcon(48);
    {
        TQorIcon holder;
        holder.SetIcon(held);
        EXPECT_FALSE(holder.FIcon->Owned()) << "the holder's icon is shared";
    }
    EXPECT_TRUE(IconAlive(held)) << "a shared icon outlives its holder";
    EXPECT_EQ(TWinObject::LiveObjects(), liveBefore) << "the icon object goes with the holder";

    HICON owned = ColourIcon(32);
    TWinIcon *icon = NewIcon();
    icon->SetHandle(owned, true);
    EXPECT_EQ(icon->Width(), 32);
    icon->SetHandle(held);
    EXPECT_FALSE(IconAlive(owned)) << "a replaced owned icon is destroyed";
    EXPECT_EQ(icon->Width(), 48);
    icon->Free();
    EXPECT_TRUE(IconAlive(held));

    // A monochrome icon has no colour bitmap: the mask holds both halves.
    std::vector<BYTE> andBits(2 * 16, 0xFF), xorBits(2 * 16, 0);
    HICON mono = CreateIcon(nullptr, 16, 16, 1, 1, andBits.data(), xorBits.data());
    icon = NewIcon();
    icon->SetHandle(mono, true);
    EXPECT_EQ(icon->Width(), 16);
    EXPECT_EQ(icon->Height(), 16);
    icon->Free();
    EXPECT_FALSE(IconAlive(mono)) << "an owned icon goes with its object";
    DestroyIcon(held);
}
