#include "ui/main/viewlayout.h"

ViewArrangement ViewLayout::arrange(const std::array<qint16, 3> &order) {
    ViewArrangement result{};
    std::array<int, 3> slots{-1, -1, -1}; // panel index standing at each place
    for (int panel = 0; panel < 3; ++panel) {
        result.panels[panel].visible = order[panel] != 0;
        if (order[panel] >= 1 && order[panel] <= 3)
            slots[order[panel] - 1] = panel;
    }

    int nextTop = Gap;
    for (const int panel : slots) {
        if (panel < 0)
            continue;
        result.panels[panel].top = nextTop;
        nextTop += PanelHeights[panel] + Gap;
    }

    result.buttonsTop = nextTop;
    result.clientHeight = nextTop + ButtonsHeight + ClientMargin;
    result.entryEnabled = order[0] != 0;
    return result;
}

void ViewLayout::toggle(std::array<qint16, 3> &order, int panel, bool nowChecked) {
    qint16 &own = order[panel];
    qint16 &a = order[(panel + 1) % 3];
    qint16 &b = order[(panel + 2) % 3];
    if (nowChecked) {
        if (a == 0 && b == 0)
            own = 1;
        else if (a == 2 || b == 2)
            own = 3;
        else if (a == 1 || b == 1)
            own = 2;
    } else {
        if (own < a)
            --a;
        if (own < b)
            --b;
        own = 0;
    }
}
