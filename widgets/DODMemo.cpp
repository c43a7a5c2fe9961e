#include "widgets/DODMemo.h"

namespace wt {
namespace {

constexpr std::uint32_t kButtonMessages[] = {
    WM_LBUTTONDOWN,   WM_LBUTTONUP,   WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,   WM_RBUTTONUP,
    WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP,     WM_MBUTTONDBLCLK,
};

} // namespace

TCDKMemo::TCDKMemo(TComponent* owner) : TMemo(owner) {
    for (std::uint32_t msg : kButtonMessages)
        SetMessageHandler(msg, [this](TMessage& message) { ButtonMessage(message); });
}

void TCDKMemo::ButtonMessage(TMessage& message) {
    // Passed on unchanged, or dropped before the edit control sees it.
    if (allowCaret_)
        DefaultHandler(message);
}

void TCDKMemo::SetAllowCaret(bool value) {
    allowCaret_ = value;
    // A click that is dropped must not take the focus on its way either.
    SetClickFocus(value);
}

int TCDKMemo::TopLine() {
    if (IsStreaming())
        return pendingTopLine_;
    return FirstVisibleLine();
}

void TCDKMemo::SetTopLine(int value) {
    if (IsStreaming()) {
        pendingTopLine_ = value;
        return;
    }
    const int current = FirstVisibleLine();
    if (value != current)
        ScrollLines(value - current);
}

void TCDKMemo::Loaded() {
    TMemo::Loaded();
    const int line = pendingTopLine_;
    pendingTopLine_ = 0;
    if (line != 0)
        SetTopLine(line);
}

} // namespace wt
