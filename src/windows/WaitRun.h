#pragma once
#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/ProgressBar.h"

#include <cstdint>
#include <string>

// The caption for a kind of launch message.
std::wstring WaitRunCaption(std::uint8_t typemessage);

// A small topmost window with a text line and a progress bar for the steps of a longer
// operation. The setup program creates it hidden and leaves it so.
class TFWaitRun : public TForm {
public:
    TFWaitRun();

    // Advances the bar by one step and shows msg; never fails.
    void Next(const std::wstring& msg) noexcept;

    TProgressBar ProgressBar;
    TLabel LblProgress;
    std::uint8_t typemessage = 0;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintBorder();
    void FormCreate();
    void FormShow();
};
