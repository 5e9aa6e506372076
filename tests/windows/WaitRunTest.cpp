#include "windows/WaitRun.h"

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

TEST(WaitRun, CreatedHiddenAtZero) {
    TFWaitRun form;
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_EQ(form.Text(), L"Launching ");
    EXPECT_EQ(form.ProgressBar.Position(), 0);
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
