// Fixture of the link tests: a fresh simulated board and recorder, the manual device clock on
// a whole millisecond, and a card to download from. The link itself is built by each test, as
// its construction is part of what is tested.
#pragma once

#include "link/tests/TestCard.h"
#include "platform/kernel/KernelTime.h"
#include "sim/board/Board.h"
#include "testsupport/BoardRecorder.h"
#include "testsupport/ManualClock.h"

class LinkTest : public ManualClock {
protected:
    void SetUp() override {
        ManualClock::SetUp();
        board.AddObserver(&recorder);
        recorder.edges.clear();
    }
    void TearDown() override { board.RemoveObserver(&recorder); }

    void Set(const std::string& settings) { ASSERT_EQ(board.Configure(settings), "") << settings; }
    std::uint64_t ElapsedMs() const { return ElapsedUs() / 1000; }

    Board board;
    BoardRecorder recorder;
    TestCard card;
};
