// The keyboard focus: which control has it, the tab order it follows, and
// its loss when the window loses the focus.
#include "toolkit/Form.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace toolkit {

void Form::HostFocusLost() {
    Dispatch([&] { SetFocus(nullptr); });
}

void Form::SetFocus(Control* control) {
    if (control == focused_) {
        return;
    }
    Control* previous = std::exchange(focused_, control);
    if (previous != nullptr) {
        previous->FocusChanged(false);
    }
    if (focused_ != nullptr) {
        focused_->FocusChanged(true);
        focused_->NotifyAccessible(AccessibleEvent::Focus);
    }
}

void Form::SetTabOrder(Control& control, int order) {
    std::erase_if(tabOrder_, [&](const auto& entry) { return entry.second == &control; });
    tabOrder_.emplace_back(order, &control);
    std::stable_sort(tabOrder_.begin(), tabOrder_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

void Form::FocusNext(bool backwards) {
    if (tabOrder_.empty()) {
        return;
    }
    auto current = std::find_if(tabOrder_.begin(), tabOrder_.end(),
                                [&](const auto& entry) { return entry.second == focused_; });
    std::ptrdiff_t index =
        current == tabOrder_.end() ? (backwards ? 0 : -1) : current - tabOrder_.begin();
    const auto count = std::ptrdiff_t(tabOrder_.size());
    index = ((index + (backwards ? -1 : 1)) % count + count) % count;
    SetFocus(tabOrder_[std::size_t(index)].second);
}

} // namespace toolkit
