#include "WizardFixture.h"

#include "support/Capture.h"
#include "ui/PngResource.h"

#include <richedit.h>

namespace {
const std::uint32_t kPanelColor = Rgb(236, 236, 235); // TITLE2's top-left pixel
const std::uint32_t kWhite = Rgb(255, 255, 255);

class SkinTest : public WizardTest {
protected:
    void Capture() { CaptureWindow(Form->Handle(), Screen); }
    // The image's pixels, where the screen shows them from (left, top) on, within rows
    // [fromRow, toRow) of the image.
    void ExpectImageAt(const wchar_t* name, int left, int top, int fromRow = 0, int toRow = -1) {
        TBitmap32 image;
        LoadPngResource(image, name);
        toRow = toRow < 0 ? image.Height() : toRow;
        for (int y = fromRow; y < toRow; ++y) {
            for (int x = 0; x < image.Width(); ++x) {
                ASSERT_EQ(Screen.Pixel(left + x, top + y), image.Pixel(x, y) & 0xFFFFFF)
                    << testing::PrintToString(std::wstring(name)) << " at " << x << "," << y;
            }
        }
    }
    void ExpectMiddleColumn(int x) { ExpectImageAt(L"TITLE_PNL_M", x, 0, 0, 15); }
    void ExpectTexture(int x, int y) {
        TBitmap32 tile;
        LoadPngResource(tile, L"BACKGROUND");
        EXPECT_EQ(Screen.Pixel(x, y), tile.Pixel(x % 128, y % 128) & 0xFFFFFF) << x << "," << y;
    }
    void ExpectControlsInPlace() {
        const RECT info = Form->RichEdit1.Bounds();
        EXPECT_EQ(info.left, 16);
        EXPECT_EQ(info.top, 110);
        EXPECT_EQ(info.right, 16 + 282);
        EXPECT_EQ(info.bottom, 110 + 441);
        const RECT pages = Form->InsatallPages.Bounds();
        EXPECT_EQ(pages.left, 320);
        EXPECT_EQ(pages.top, 110);
        EXPECT_EQ(pages.right, 320 + 619);
        EXPECT_EQ(pages.bottom, 110 + 441);
    }

    TBitmap32 Screen;
};
} // namespace

TEST_F(SkinTest, WelcomePageShowsTheSkinAtItsPlaces) {
    Capture();
    ASSERT_EQ(Screen.Width(), 954);
    ASSERT_EQ(Screen.Height(), 579);
    ExpectImageAt(L"TITLE2", 227, 20);
    ExpectImageAt(L"TITLE_PNL_R", 932, 0, 0, 95);
    ExpectImageAt(L"TITLE_PNL_L", 0, 0, 0, 15);
    ExpectImageAt(L"LOGO", 17, 15);
    for (int x : {22, 500, 931}) {
        ExpectMiddleColumn(x);
    }
    for (int x : {0, 500, 953}) {
        ExpectTexture(x, 578);
    }
    // The panel colour inside the information panel and on the page's button row.
    EXPECT_EQ(Screen.Pixel(16 + 282 - 3, 110 + 441 - 3), kPanelColor);
    EXPECT_EQ(Screen.Pixel(320 + 300, 110 + 441 - 10), kPanelColor);
    EXPECT_EQ(Screen.Pixel(320 + 610, 110 + 300), kPanelColor);
}

TEST_F(SkinTest, TransparentPixelsShowWhiteNotTexture) {
    Capture();
    TBitmap32 panels;
    DecodePngResource(panels, L"MAIN");
    int seen = 0;
    for (int y = 0; y < panels.Height(); ++y) {
        for (int x = 3; x < panels.Width() && x - 3 < Screen.Width(); ++x) {
            if (panels.Pixel(x, y) == 0) {
                ASSERT_EQ(Screen.Pixel(x - 3, y + 95), kWhite) << x << "," << y;
                ++seen;
            }
        }
    }
    EXPECT_GT(seen, 0);
}

TEST_F(SkinTest, MaximisedBandSpansTheWidthAndControlsStay) {
    ShowWindow(Form->Handle(), SW_MAXIMIZE);
    Capture();
    const int w = Screen.Width();
    ASSERT_GT(w, 954);
    ExpectImageAt(L"TITLE_PNL_R", w - 22, 0, 0, 95);
    ExpectImageAt(L"TITLE2", (w - 500) / 2, 20);
    for (int x : {22, 953, w - 23}) {
        ExpectMiddleColumn(x);
    }
    ExpectTexture(w - 5, Screen.Height() - 5);
    ExpectTexture(960, 300);
    ExpectControlsInPlace();

    ShowWindow(Form->Handle(), SW_RESTORE);
    Capture();
    EXPECT_EQ(Screen.Width(), 954);
    ExpectImageAt(L"TITLE_PNL_R", 932, 0, 0, 95);
    ExpectControlsInPlace();
}

TEST_F(SkinTest, InformationPanelAndPathRowTakeThePanelColour) {
    const HWND info = Form->RichEdit1.Handle();
    EXPECT_EQ(Form->RichEdit1.Text().rfind(L"Комплекс «Сонтира»", 0), 0u);
    const LONG style = GetWindowLongW(info, GWL_STYLE);
    EXPECT_NE(style & ES_READONLY, 0);
    EXPECT_EQ(style & WS_BORDER, 0);
    EXPECT_EQ(GetWindowLongW(info, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), 0);
    RECT text;
    SendMessageW(info, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(text.left, 4);
    EXPECT_EQ(text.top, 4);
    // The paint box lies below everything else.
    EXPECT_EQ(GetWindow(Form->BG.Handle(), GW_HWNDNEXT), nullptr);

    Click(L"Далее");
    TBitmap32 row;
    CaptureWindow(Form->PnlPath.Handle(), row);
    EXPECT_EQ(row.Pixel(100, 0), kPanelColor); // the frame melts into the page
    EXPECT_EQ(row.Pixel(100, row.Height() - 1), kPanelColor);
}
