#include "toolkit/GridLayout.h"

#include <algorithm>

namespace toolkit {

void GridLayout::SetCellSize(float width, float height) {
    cellWidth_ = width;
    cellHeight_ = height;
    Arrange();
}

void GridLayout::Arrange() {
    // Cells run left to right and wrap when the row is full, as a grid does.
    const int perRow = cellWidth_ > 0 ? std::max(1, int(Width() / cellWidth_)) : 1;
    int index = 0;
    for (const auto& child : Children()) {
        const int column = index % perRow;
        const int row = index / perRow;
        child->SetBoundsQuietly({column * cellWidth_, row * cellHeight_, cellWidth_, cellHeight_});
        ++index;
    }
}

} // namespace toolkit
