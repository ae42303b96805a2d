#pragma once

// A page of the main window's content area. Told each time its left-panel
// entry brings it up, so it can show the register as it is now.
class Page
{
public:
    virtual ~Page() = default;
    virtual void pageShown() = 0;
};
