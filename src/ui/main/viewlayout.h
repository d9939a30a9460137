#pragma once

#include <QtGlobal>

#include <array>
#include <optional>

struct PanelPlacement {
    bool visible;
    std::optional<int> top; // empty: the panel keeps its current top
};

struct ViewArrangement {
    std::array<PanelPlacement, 3> panels; // this-time card, recent grid, averages grid
    int buttonsTop;
    int clientHeight; // the toolkit sizes the client area, not the outer window
    bool entryEnabled;
};

// The stacking of the main window's panels from the panel order, and the VIEW toggles that
// change that order. All places and sizes are in twips.
class ViewLayout {
public:
    static constexpr std::array<int, 3> PanelHeights{675, 1515, 1815};
    static constexpr int ButtonsHeight = 1935;
    static constexpr int Gap = 120;
    static constexpr int ClientMargin = 120;

    // order: place from the top of each panel, 0 hidden. Places 1 to 3 are stacked without gaps
    // for empty places; of two panels with the same place the later one is stacked and the
    // earlier stays visible where it stands, as does a panel with a place outside 1 to 3.
    static ViewArrangement arrange(const std::array<qint16, 3> &order);

    // Switches panel (0 to 2) on below the visible ones or off, moving the panels below it up.
    // Values no toggle produces (gaps, repeats, places above 3) go through the same rules.
    static void toggle(std::array<qint16, 3> &order, int panel, bool nowChecked);
};
