#include "toolkit/win32/Tooltips.h"

#include <commctrl.h>

#include <functional>

namespace toolkit::win32 {

void Tooltips::Attach(HWND owner) {
    owner_ = owner;
    // Not owned by the window: an owned topmost popup above it makes Wine
    // place the window after the popup when it turns topmost, and the
    // window then never gets the stay-on-top style. The tools still follow
    // the window through TTF_SUBCLASS.
    tooltip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr));
    tools_.clear();
}

void Tooltips::Update(Control& root, int offsetX, int offsetY) {
    if (!tooltip_) {
        return;
    }
    std::vector<Tool> wanted;
    std::function<void(const Control&)> collect = [&](const Control& control) {
        for (const auto& child : control.Children()) {
            if (!child->Hint().empty()) {
                const RectI r = child->PhysicalRect();
                wanted.push_back(
                    {{r.left - offsetX, r.top - offsetY, r.right - offsetX, r.bottom - offsetY},
                     child->Hint()});
            }
            collect(*child);
        }
    };
    collect(root);

    for (std::size_t id = 0; id < std::max(wanted.size(), tools_.size()); ++id) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.hwnd = owner_;
        info.uId = id + 1;
        if (id >= wanted.size()) {
            ::SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
            continue;
        }
        const Tool& tool = wanted[id];
        info.uFlags = TTF_SUBCLASS;
        info.rect = {tool.rect.left, tool.rect.top, tool.rect.right, tool.rect.bottom};
        info.lpszText = const_cast<wchar_t*>(tool.text.c_str());
        if (id >= tools_.size()) {
            ::SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
            continue;
        }
        if (tools_[id].rect != tool.rect) {
            ::SendMessageW(tooltip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
        }
        if (tools_[id].text != tool.text) {
            ::SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
    tools_ = std::move(wanted);
}

} // namespace toolkit::win32
