// The window's skin: its images, the information panel, the panel colour and the painting.
#include "wizard/Main.h"

#include "ui/PngResource.h"
#include "ui/RcData.h"

void TFMain::LoadSkin() {
    const TPngReader png;
    png.Load(BG_bmp, L"BACKGROUND");
    png.Load(Panels_bmp, L"MAIN");
    png.Load(Logo_bmp, L"LOGO");
    png.Load(Title_pnl_l_bmp, L"TITLE_PNL_L");
    png.Load(Title_pnl_r_bmp, L"TITLE_PNL_R");
    png.Load(Title_pnl_m_bmp, L"TITLE_PNL_M");
    png.Load(Title_bmp, L"TITLE2");
}

void TFMain::LoadGlyphs() {
    const TPngReader png;
    png.Decode(FGlyphCancel, L"GLYPH_CANCEL");
    png.Decode(FGlyphNext, L"GLYPH_NEXT");
    png.Decode(FGlyphBack, L"GLYPH_BACK");
    png.Decode(FGlyphExit, L"GLYPH_EXIT");
    png.Decode(FGlyphInstall, L"GLYPH_INSTALL");
}

void TFMain::LoadInfo() {
    const TRcData info = FindRcData(L"INFO");
    // The whole text shows, without a scroll bar, at 120 dpi too.
    RichEdit1.LoadRtfInPixels(info.Data, info.Size);
}

void TFMain::ColorPanels() {
    // The panels of the skin have the title's background colour; the controls on them take it,
    // so that they seem painted on the panels.
    const COLORREF color = PixelToColor(Title_bmp.Pixel(0, 0));
    RichEdit1.SetBackground(color);
    InsatallPages.SetColor(color); // the path row's border takes it when its page is made
}

void TFMain::BGResize() {
    if (BG_bmp.Empty() || BG.Buffer().Empty()) {
        return; // before the images are loaded
    }
    TBitmap32& buffer = BG.Buffer();
    const int w = buffer.Width();
    const int h = buffer.Height();
    const HDC dc = buffer.Canvas();
    for (int y = 0; y <= h; y += BG_bmp.Height()) {
        for (int x = 0; x <= w; x += BG_bmp.Width()) {
            BG_bmp.Draw(dc, x, y);
        }
    }
    Title_pnl_l_bmp.Draw(dc, 0, 0);
    const int left = Title_pnl_l_bmp.Width();
    const int right = w - Title_pnl_r_bmp.Width();
    Title_pnl_r_bmp.Draw(dc, right, 0);
    for (int x = left; x <= right - 1; ++x) {
        Title_pnl_m_bmp.Draw(dc, x, 0);
    }
    Logo_bmp.Draw(dc, left - 5, 15);
    Title_bmp.Draw(dc, (w - Title_bmp.Width()) / 2, 20);
    Panels_bmp.Draw(dc, -3, 95);
    // The controls keep their places on the panels, whatever the window's size.
    RichEdit1.SetBounds(16, 110, 282, 441);
    RichEdit1.SetInnerBorder(4);
    InsatallPages.SetBounds(320, 110, 619, 441);
    BG.Repaint();
}
