// The front end without a display: the device is seen and driven only through the control
// socket. Run simply blocks until the simulator is told to stop.
#pragma once

#include <condition_variable>
#include <mutex>

#include "sim/frontend/FrontEnd.h"

class HeadlessFrontEnd : public FrontEnd {
public:
    void Run() override;
    void Stop() override;

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_stopped = false;
};
