#include "windows/WaitRun.h"

#include <commctrl.h>

#include <gtest/gtest.h>

TEST(WaitRun, CaptionFollowsTheMessageKind) {
    const std::pair<std::uint8_t, const wchar_t*> cases[] = {
        {0, L"Launching "},
        {1, L"Launching "},
        {2, L"Запись данных ЭКГ"},
        {3, L"Преобразование данных ЭКГ в формат Сонтира"},
        {4, L""},
        {255, L"Launching "}};
    for (const auto& [kind, caption] : cases) {
        EXPECT_EQ(WaitRunCaption(kind), caption) << int(kind);
    }
}

TEST(WaitRun, CreatedHidden) {
    TFWaitRun form;
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_EQ(form.Text(), L"Launching ");
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 314);
    EXPECT_EQ(client.bottom, 39);
}

TEST(WaitRun, NextStepsTheBarAndStartsOverPastTheEnd) {
    TFWaitRun form;
    form.Show();
    for (int i = 1; i <= 25; ++i) {
        form.Next(L"Шаг " + std::to_wstring(i));
    }
    EXPECT_EQ(form.ProgressBar.Position(), 25);
    EXPECT_EQ(form.LblProgress.Text(), L"Шаг 25");
    form.Next(L"");
    EXPECT_LT(form.ProgressBar.Position(), 2);
    EXPECT_EQ(form.LblProgress.Text(), L"");
}

TEST(WaitRun, SmallTopmostWindowWithoutTitleButtonsCentredWhenShown) {
    TFWaitRun form;
    const LONG style = GetWindowLongW(form.Handle(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_NE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    // The border width lies between the frame and the client area.
    RECT window;
    RECT client{0, 0, 314, 39};
    GetWindowRect(form.Handle(), &window);
    AdjustWindowRectEx(&client, static_cast<DWORD>(style), FALSE, WS_EX_TOPMOST);
    EXPECT_EQ(window.right - window.left, client.right - client.left + 4);
    EXPECT_EQ(window.bottom - window.top, client.bottom - client.top + 4);

    LOGFONTW font{};
    GetObjectW(form.Font(), sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, L"Tahoma");
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(font.lfCharSet, RUSSIAN_CHARSET);

    const RECT bar = form.ProgressBar.Bounds();
    const RECT label = form.LblProgress.Bounds();
    EXPECT_EQ(bar.top, 19);
    EXPECT_EQ(bar.bottom, 39);
    EXPECT_EQ(bar.right - bar.left, 314);
    EXPECT_EQ(label.top, 0);
    EXPECT_EQ(label.bottom, 19);
    PBRANGE range{};
    SendMessageW(form.ProgressBar.Handle(), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 25);
    EXPECT_NE(GetWindowLongW(form.ProgressBar.Handle(), GWL_STYLE) & PBS_SMOOTH, 0);

    SetWindowPos(form.Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    form.Show();
    GetWindowRect(form.Handle(), &window);
    EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left)) / 2);
    EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top)) / 2);
}
