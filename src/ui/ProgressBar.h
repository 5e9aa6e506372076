#pragma once
#include "ui/Control.h"

// A smooth progress bar (the common controls' "msctls_progress32").
class TProgressBar : public TControl {
public:
    void Create(TWinContainer& parent, const TPlace& place, int min, int max, int step);
    int Position() const;
    void SetPosition(int position);
    void StepIt();
};
