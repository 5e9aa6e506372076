#pragma once
#include "ui/Bitmap32.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/SkinButton.h"
#include "ui/Timer.h"

#include <string>

enum TMessageType { mtMessage, mtDialog };

// A modal message that stays in front of everything and closes itself after a countdown as if
// Cancel had been pressed.
class TFMessageform : public TForm {
public:
    TFMessageform();

    // ImageList1's glyphs that the buttons show: index 0 (Cancel) and index 2 (OK).
    TBitmap32 FGlyphCancel;
    TBitmap32 FGlyphOK;

    bool Showmes(const std::wstring& Text, TMessageType tip, const std::wstring& CaptionText,
                 bool smodal);

    TLabel lblMessage;
    TPanel pnlClose;
    TButton btnStop;
    TLabel lblClose;
    TLabel lblSec;
    TPanel pnlButtons;
    TSkinButton btnCancel;
    TSkinButton btnOK;
    TPanel RzBorder1;
    TCheckBox cbRealTime;
    TCheckBox cbnotChek;
    TTimer StayUpTimer;
    TTimer StopTimer;

private:
    void FormShow();
    void FormClose();
    void StayUpTimerTimer();
    void StopTimerTimer();
    void btnOKClick();
    void btnCancelClick();
    void btnStopClick();
    void CreateControls();

    double tt = 0;
    TMessageType FMessageTtype = mtMessage;
    std::wstring FMessageText;
    std::wstring FCaptionText;
    bool FShowResult = false;
    bool Fsmodal = false;
};

// Shows text in a new timed message window and waits until it closes; true when OK was
// pressed. seconds: the countdown, 0 for the window's default of 20 seconds.
bool ShowTimedMessage(const std::wstring& text, TMessageType type, const std::wstring& caption,
                      int seconds);
