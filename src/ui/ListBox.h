#pragma once
#include "ui/Control.h"

// A list box ("LISTBOX") that keeps its strings, so automation can read them.
class TListBox : public TControl {
public:
    void Create(TWinContainer& parent, const TPlace& place, bool visible = true);
    int Add(const std::wstring& item);
    void Replace(int index, const std::wstring& item);
    std::wstring Item(int index) const;
    int Count() const;
    void Clear();
    void SetItemHeight(int height);
};
