#include "support/Capture.h"
#include "ui/Application.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Panel.h"
#include "ui/PngResource.h"
#include "ui/SkinButton.h"

#include <gtest/gtest.h>

namespace {
class TButtonsForm : public TForm {
public:
    TButtonsForm() {
        CreateForm(L"TButtonsForm", L"buttons", WS_OVERLAPPEDWINDOW, 0, 400, 200);
        DecodePngResource(Glyph, L"GLYPH_NEXT");
        Next.Create(*this, TPlace::At(10, 10, 98, 37), L"Далее", &Glyph);
        Next.OnClick = [this] { ++Clicks; };
        Bare.Create(*this, TPlace::At(10, 60, 98, 37), L"", &Glyph);
        Field.Create(*this, TPlace::At(10, 110, 200, 28), L"C:\\Holter", 0);
        Field.SetFlatFrame(GetSysColor(COLOR_BTNFACE), 0xFF8000);
        Show();
    }
    TBitmap32 Glyph;
    TSkinButton Next;
    TSkinButton Bare;
    TEdit Field;
    int Clicks = 0;
};

void Post(HWND wnd, UINT message, WPARAM wParam) {
    PostMessageW(wnd, message, wParam, 0);
    Application.ProcessMessages();
}

// The strip's image blended over a fill, as the button shows it.
std::uint32_t Over(std::uint32_t premultiplied, COLORREF fill) {
    const std::uint32_t a = premultiplied >> 24;
    auto channel = [&](int shift, int fillChannel) {
        return ((premultiplied >> shift) & 0xFF) + fillChannel * (255 - a) / 255;
    };
    return (channel(16, GetRValue(fill)) << 16) | (channel(8, GetGValue(fill)) << 8) |
           channel(0, GetBValue(fill));
}

void ExpectGlyph(const TBitmap32& picture, const TBitmap32& strip, int srcX, int left, int top) {
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const std::uint32_t want = Over(strip.Pixel(srcX + x, y), 0xF0F4F4);
            const std::uint32_t got = picture.Pixel(left + x, top + y);
            for (int shift : {0, 8, 16}) {
                ASSERT_NEAR(int((got >> shift) & 0xFF), int((want >> shift) & 0xFF), 2)
                    << x << "," << y;
            }
        }
    }
}
} // namespace

TEST(SkinButton, StaysAStandardButtonForKeysAndAutomation) {
    TButtonsForm form;
    wchar_t className[16] = {};
    GetClassNameW(form.Next.Handle(), className, 16);
    EXPECT_STREQ(className, L"Button");
    EXPECT_EQ(GetWindowLongW(form.Next.Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(form.Next.Text(), L"Далее");

    SendMessageW(form.Next.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form.Clicks, 1);
    form.Next.SetFocus();
    Post(form.Next.Handle(), WM_KEYDOWN, VK_SPACE);
    Post(form.Next.Handle(), WM_KEYUP, VK_SPACE);
    EXPECT_EQ(form.Clicks, 2);
    Post(form.Next.Handle(), WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(form.Clicks, 3);
    // Moving the focus on with Tab leaves both buttons owner-drawn.
    Post(form.Next.Handle(), WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), form.Bare.Handle());
    for (HWND button : {form.Next.Handle(), form.Bare.Handle()}) {
        EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    }
    Post(form.Bare.Handle(), WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(form.Clicks, 3); // Enter went to the focused button, not to Next
}

TEST(SkinButton, FillFrameAndGlyphNormalAndGreyed) {
    TButtonsForm form;
    form.Next.SetFocus(); // the focus frame is drawn on the other button
    TBitmap32 picture;
    CaptureWindow(form.Bare.Handle(), picture);
    EXPECT_EQ(picture.Pixel(0, 18), Rgb(0x00, 0x3C, 0x74)); // frame 0x743C00
    EXPECT_EQ(picture.Pixel(1, 1), Rgb(0xF4, 0xF4, 0xF0));  // fill 0xF0F4F4
    // An empty caption puts the glyph in the middle, text gap included.
    const int left = (98 - 20) / 2;
    const int top = (37 - 16) / 2;
    ExpectGlyph(picture, form.Glyph, 0, left, top);
    form.Bare.SetEnabled(false);
    CaptureWindow(form.Bare.Handle(), picture);
    ExpectGlyph(picture, form.Glyph, 16, left, top);
}

TEST(SkinButton, HotWhileTheMouseIsOver) {
    TButtonsForm form;
    TBitmap32 picture;
    SendMessageW(form.Bare.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(form.Bare.Hot());
    CaptureWindow(form.Bare.Handle(), picture);
    EXPECT_NE(picture.Pixel(1, 1), Rgb(0xF4, 0xF4, 0xF0)); // lighter while hot
    SendMessageW(form.Bare.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(form.Bare.Hot());
    CaptureWindow(form.Bare.Handle(), picture);
    EXPECT_EQ(picture.Pixel(1, 1), Rgb(0xF4, 0xF4, 0xF0));
}

TEST(FlatEdit, FrameInButtonFaceTurnsOrangeWhileHot) {
    TButtonsForm form;
    TBitmap32 picture;
    CaptureWindow(form.Field.Handle(), picture, true);
    EXPECT_EQ(picture.Pixel(0, 10), ColorOf(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(picture.Pixel(199, 27), ColorOf(GetSysColor(COLOR_BTNFACE)));
    SendMessageW(form.Field.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    CaptureWindow(form.Field.Handle(), picture, true);
    EXPECT_EQ(picture.Pixel(0, 10), Rgb(0, 128, 255));
    SendMessageW(form.Field.Handle(), WM_MOUSELEAVE, 0, 0);
    CaptureWindow(form.Field.Handle(), picture, true);
    EXPECT_EQ(picture.Pixel(0, 10), ColorOf(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(form.Field.Text(), L"C:\\Holter");
}
