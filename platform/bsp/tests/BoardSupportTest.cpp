#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/bsp/BoardSupport.h"

namespace {

// A board that records every register access and holds one register value per offset.
class RecordingBoard : public BspBackend {
public:
    struct Access {
        XScaleBlock block;
        char kind; // 'r' or 'w'
        DWORD offset;
        DWORD value;
        bool operator==(const Access&) const = default;
    };

    RecordingBoard() { Install(this); }
    ~RecordingBoard() override { Uninstall(this); }

    DWORD ReadRegister(XScaleBlock block, DWORD offset) override {
        const DWORD value = m_values[offset];
        accesses.push_back({block, 'r', offset, value});
        return value;
    }
    void WriteRegister(XScaleBlock block, DWORD offset, DWORD value) override {
        accesses.push_back({block, 'w', offset, value});
        m_values[offset] = value;
    }
    bool RamVariableExists(const std::wstring& name) override { return name == L"DMA_TX"; }
    bool CreatePageBuffer(const std::wstring& name, DWORD size) override {
        created.push_back(name + L":" + std::to_wstring(size));
        return true;
    }
    bool GetPageBuffer(const std::wstring& name, void** cpu, DWORD* phys) override {
        if (name != L"DMA_TX")
            return false;
        *cpu = m_buffer;
        *phys = 0xA0800000;
        return true;
    }

    std::vector<Access> accesses;
    std::vector<std::wstring> created;

private:
    DWORD m_values[0x400] = {};
    unsigned char m_buffer[16] = {};
};

using Access = RecordingBoard::Access;

TEST(BoardSupportTest, WithoutBoardReadsGiveZeroAndCallsFail) {
    Reg(gXScaleGpioRegs, GPSR0) |= 0x01000000;
    EXPECT_EQ(DWORD(Reg(gXScaleDmaRegs, DCSR2)), 0u);
    EXPECT_FALSE(DoesRamVariableExist(L"DMA_TX"));
    EXPECT_FALSE(CreatePageBufferRamVariable(L"DMA_TX", 4096));
    LPVOID cpu = reinterpret_cast<LPVOID>(1);
    DWORD phys = 1;
    EXPECT_FALSE(GetPageBufferRamVariablePtr(L"DMA_TX", &cpu, &phys));
    EXPECT_EQ(cpu, nullptr);
    EXPECT_EQ(phys, 0u);
}

// Each operator form makes exactly the accesses a volatile register field would.
TEST(BoardSupportTest, RegisterOperatorsMakeOneAccessPerRead) {
    struct Case {
        const char* name;
        void (*run)();
        std::vector<Access> expected;
    };
    const Case cases[] = {
        {"or-assign",
         [] { Reg(gXScaleGpioRegs, GPSR0) |= 0x01000000; },
         {{XScaleBlock::Gpio, 'r', GPSR0, 0x10}, {XScaleBlock::Gpio, 'w', GPSR0, 0x01000010}}},
        {"and-assign",
         [] { Reg(gXScaleNsspRegs, SSCR0) &= ~DWORD(0x10); },
         {{XScaleBlock::Nssp, 'r', SSCR0, 0x10}, {XScaleBlock::Nssp, 'w', SSCR0, 0x0}}},
        {"store",
         [] { Reg(gXScaleClockRegs, CKEN) = 0x200; },
         {{XScaleBlock::Clock, 'w', CKEN, 0x200}}},
        {"copy into itself",
         [] { Reg(gXScaleDmaRegs, DCMD2) = Reg(gXScaleDmaRegs, DCMD2); },
         {{XScaleBlock::Dma, 'r', DCMD2, 0x10}, {XScaleBlock::Dma, 'w', DCMD2, 0x10}}},
        {"read",
         [] { (void)DWORD(Reg(gXScaleGpioRegs, GPLR0)); },
         {{XScaleBlock::Gpio, 'r', GPLR0, 0x10}}},
    };
    for (const Case& c : cases) {
        RecordingBoard board;
        for (DWORD offset : {GPSR0, SSCR0, DCMD2, GPLR0})
            board.WriteRegister(XScaleBlock::Gpio, offset, 0x10);
        board.accesses.clear();
        c.run();
        EXPECT_EQ(board.accesses, c.expected) << c.name;
    }
}

TEST(BoardSupportTest, PageBufferCallsReachTheBoardAndStopWhenItLeaves) {
    LPVOID cpu = nullptr;
    DWORD phys = 0;
    {
        RecordingBoard board;
        EXPECT_TRUE(DoesRamVariableExist(L"DMA_TX"));
        EXPECT_FALSE(DoesRamVariableExist(L"DMA_RX"));
        EXPECT_TRUE(CreatePageBufferRamVariable(L"DMA_RX", 4096));
        EXPECT_EQ(board.created, std::vector<std::wstring>{L"DMA_RX:4096"});
        EXPECT_TRUE(GetPageBufferRamVariablePtr(L"DMA_TX", &cpu, &phys));
        EXPECT_NE(cpu, nullptr);
        EXPECT_EQ(phys, 0xA0800000u);
        EXPECT_FALSE(GetPageBufferRamVariablePtr(L"DMA_RX", &cpu, &phys));
        EXPECT_EQ(cpu, nullptr);
    }
    EXPECT_FALSE(DoesRamVariableExist(L"DMA_TX"));
    EXPECT_FALSE(GetPageBufferRamVariablePtr(L"DMA_TX", &cpu, &phys));
}

} // namespace
