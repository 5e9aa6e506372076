#pragma once
#include "ui/Control.h"

#include <initializer_list>

// A drop-down list ("COMBOBOX", CBS_DROPDOWNLIST).
class TComboBox : public TControl {
public:
    void Create(TWinContainer& parent, const TPlace& place,
                std::initializer_list<const wchar_t*> items, bool visible = true);
    int ItemIndex() const;
    void SetItemIndex(int index);
    int Count() const;
};
