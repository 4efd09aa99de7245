#include "sim/board/ClockModel.h"

#include "platform/bsp/BoardSupport.h"

ClockModel::ClockModel() {
    m_map = RegisterMap({
        {CKEN, "CKEN", [this] { return m_cken; }, [this](DWORD v) { m_cken = v; }},
    });
}

bool ClockModel::NsspClockOn() const {
    return m_cken & CKEN_NSSP;
}
