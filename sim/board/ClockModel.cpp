#include "sim/board/ClockModel.h"

ClockModel::ClockModel() {
    m_map = RegisterMap({
        {0x04, "CKEN", [this] { return m_cken; }, [this](DWORD v) { m_cken = v; }},
    });
}
