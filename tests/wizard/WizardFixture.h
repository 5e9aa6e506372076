#pragma once
#include "support/DialogAnswerer.h"
#include "ui/Application.h"
#include "wizard/Main.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A freshly created, shown wizard window per test.
class WizardTest : public testing::Test {
protected:
    void SetUp() override {
        Application.Title = L"Установка комплекса \"Сонтира\"";
        Form = std::make_unique<TFMain>();
        Form->Show();
        while (Form->Idle()) { // the later pages, as the message loop makes them
        }
    }
    void TearDown() override {
        Form.reset();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // Names of the visible pages; exactly one when the window is right.
    std::vector<std::wstring> VisiblePages() const {
        std::vector<std::wstring> names;
        for (TControl* page : Form->InsatallPages.Children()) {
            if (IsWindowVisible(page->Handle())) {
                names.push_back(page->Text());
            }
        }
        return names;
    }
    void Click(const std::wstring& caption) {
        ASSERT_TRUE(ClickButton(Form->Handle(), caption)) << "no visible button";
    }
    // Types a path on the path page and presses its "Далее".
    void SubmitPath(const std::wstring& path) {
        Form->ePath.SetText(path);
        Click(L"Далее");
    }

    std::unique_ptr<TFMain> Form;
};

inline const wchar_t kDriverWarning[] =
    L"Внимание!\r Если на вашем компьютере уже установлен комплекс \"Сонтира\",\r снимите "
    L"галочку установки драйвера!";
