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
    // A list that follows what is added: each new item is scrolled into view while the last
    // item shows; a list the user has scrolled up stays where it is until it is scrolled back
    // to the end.
    void SetFollowEnd(bool follow) noexcept { FFollowEnd = follow; }

private:
    // Whether the last item shows whole (an empty list counts as showing its end).
    bool EndVisible() const;
    void ShowEnd();

    bool FFollowEnd = false;
};
