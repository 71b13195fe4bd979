#pragma once
// A site with named boxes and the program's history emptied around each
// test; orders are written bottom to top as the boxes' one-letter names.

#include "drawing/action_list.h"
#include "drawing/draw_site_action.h"
#include "site_fixture.h"

#include <string>

namespace orvella::test {

class UndoTest : public SiteTest {
protected:
    UndoTest()
    {
        ActionList().Clear();
        ActionList().Recording = true;
        ActionList().RepeatAllowed = true;
    }
    ~UndoTest() override
    {
        // Steps may own removed boxes: they go before the site does.
        ActionList().Clear();
        ActionList().Recording = true;
        SetCommandTargetResolver({});
    }

    // One box per letter, bottom first, side by side.
    void Boxes(const std::string& names)
    {
        int32_t left = 10;
        for (char name : names) {
            TTestBox& box = Box({left, 10, left + 50, 60});
            box.SetName(std::string(1, name));
            left += 60;
        }
    }
    TDrawObject& Named(char name)
    {
        for (std::size_t i = 0; i < site.ObjectCount(); ++i)
            if (site.Objects(i).Name() == std::string(1, name))
                return site.Objects(i);
        throw std::runtime_error(std::string("no box ") + name);
    }
    std::string Names() const
    {
        std::string names;
        for (std::size_t i = 0; i < site.ObjectCount(); ++i)
            names += site.Objects(i).Name();
        return names;
    }
    std::string SelectedNames() const
    {
        std::string names;
        for (std::size_t i = 0; i < site.ObjectCount(); ++i)
            if (site.Objects(i).Selected())
                names += site.Objects(i).Name();
        return names;
    }
    void Select(const std::string& names)
    {
        site.SetAllSelected(false);
        for (char name : names)
            Named(name).SetSelected(true);
    }
};

}  // namespace orvella::test
