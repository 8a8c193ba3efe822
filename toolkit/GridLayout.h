// A horizontal grid: places its children side by side from its left edge,
// one per cell of a fixed size.
#pragma once

#include "toolkit/Control.h"

namespace toolkit {

class GridLayout : public Control {
public:
    using Control::Control;

    void SetCellSize(float width, float height);
    // Lays the children out in cells; call after adding them.
    void Arrange();

private:
    float cellWidth_ = 0;
    float cellHeight_ = 0;
};

} // namespace toolkit
