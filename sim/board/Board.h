// The simulated board of the device: the PXA25x GPIO, NSSP, clock-enable and DMA models, the
// page-buffer memory and the co-processor, wired as on the device. It serves the board-support
// API while it lives (installs itself on construction, uninstalls in its destructor), and gives
// the simulator the co-processor's state, its settings and faults, and trace observers.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/bsp/BspBackend.h"
#include "sim/board/BoardObserver.h"
#include "sim/board/ClockModel.h"
#include "sim/board/CoprocModel.h"
#include "sim/board/DmaModel.h"
#include "sim/board/GpioModel.h"
#include "sim/board/NsspModel.h"

class Board : public BspBackend, private DmaModel::Wire {
public:
    Board();
    ~Board() override;
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    // A co-processor setting or fault (CoprocSettings::Set lists the keys); an error text, or
    // empty when done.
    std::string Set(const std::string& key, const std::string& value);
    // Several settings as "key=value,key=value"; stops at the first error and returns it.
    std::string Configure(const std::string& settings);
    // The co-processor's state (reset line, image size and SHA-256, started, last command,
    // settings, faults) with the board's registers under "registers".
    nlohmann::json State();

    // Observers hear of every line change, transfer, exchange and fault from now on, starting
    // with the present level of each link line. They must outlive their registration.
    void AddObserver(BoardObserver* observer);
    void RemoveObserver(BoardObserver* observer);
    // Brings the models up to the present device time, so observers hear everything so far.
    void Flush();

    std::vector<std::uint8_t> Image();
    bool ImageStarted();
    // Words left in the NSSP receive FIFO, as a boot loader might leave them.
    void PreloadReceiveFifo(const std::vector<DWORD>& words);

    // BspBackend
    DWORD ReadRegister(XScaleBlock block, DWORD offset) override;
    void WriteRegister(XScaleBlock block, DWORD offset, DWORD value) override;
    bool RamVariableExists(const std::wstring& name) override;
    bool CreatePageBuffer(const std::wstring& name, DWORD size) override;
    bool GetPageBuffer(const std::wstring& name, void** cpuPointer,
                       DWORD* physicalAddress) override;

private:
    struct PageBuffer {
        std::wstring name;
        DWORD physical = 0;
        DWORD size = 0;
        std::unique_ptr<std::uint8_t[]> bytes;
    };

    // DmaModel::Wire
    std::string PortFault() override;
    double BitRate() override;
    std::uint8_t* Memory(DWORD phys, DWORD length) override;
    std::vector<std::uint8_t> Exchange(const std::vector<std::uint8_t>& transmit,
                                       std::uint64_t startUs, std::uint64_t endUs) override;
    void TransferEnded(std::uint64_t endUs) override;
    void Fault(const std::string& reason) override;

    // Applies, in time order, every scheduled change due by nowUs.
    void SettleTo(std::uint64_t nowUs);
    void Unmapped(XScaleBlock block, DWORD offset, const char* access);
    bool LinkLine(int gpio, std::uint64_t nowUs);
    template <class F> void Notify(F&& f) {
        for (BoardObserver* observer : m_observers)
            f(*observer);
    }

    std::mutex m_mutex;
    std::uint64_t m_nowUs = 0;
    GpioModel m_gpio;
    NsspModel m_nssp;
    ClockModel m_clock;
    DmaModel m_dma;
    CoprocModel m_coproc;
    std::vector<PageBuffer> m_pageBuffers;
    DWORD m_nextPhysical;
    std::vector<BoardObserver*> m_observers;
};
