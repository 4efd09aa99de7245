// The commands of the simulator's control socket: registers each on the server, answering quit
// and the co-processor's state itself and handing the others to the keypad, stylus, screen,
// status and device command groups and to the USB cable.
#pragma once

#include "sim/control/ControlServer.h"
#include "sim/shell/DeviceRequests.h"
#include "sim/shell/KeyCommands.h"
#include "sim/shell/StatusReport.h"
#include "sim/shell/StylusCommands.h"
#include "sim/shell/UsbCable.h"

class Board;
class Simulator;

class ControlCommands {
public:
    ControlCommands(Simulator& simulator, Board& board)
        : m_simulator(simulator), m_board(board), m_keys(simulator), m_stylus(simulator),
          m_device(board) {}
    void Register(ControlServer& server);

private:
    Simulator& m_simulator;
    Board& m_board;
    KeyCommands m_keys;
    StylusCommands m_stylus;
    StatusReport m_status;
    DeviceRequests m_device;
    UsbCable m_usb;
};
