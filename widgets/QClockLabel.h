// A colour label that shows the device's local time of day as "hh:mm:ss". A chain of single
// 200 ms timer periods polls the clock; the text is rewritten only when the second changes.
#pragma once

#include <optional>

#include "platform/kernel/CTime.h"
#include "widgets/QColorLabel.h"

class QClockLabel : public QColorLabel {
public:
    static constexpr UINT kTimerId = 100;
    static constexpr UINT kTickMs = 200;

protected:
    // Shows the time at once and arms the timer, then lets the base class subclass.
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT nIDEvent);

private:
    // The time whose text the label shows; none until the first tick.
    std::optional<CTime> m_lastShown;
};
