#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "link/QCoprocLink.h"
#include "link/tests/LinkTest.h"
#include "platform/bsp/BoardSupport.h"
#include "platform/kernel/CardSlot.h"
#include "sim/board/Sha256.h"
#include "testsupport/CountingBackend.h"

namespace {

// A link to a co-processor that has just come out of reset, ready to take an image.
class DownloadTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        ASSERT_TRUE(link.ResetAndSync());
        recorder.exchanges.clear();
        recorder.transfers.clear();
    }
    // Offsets of the blocks sent, from the frames' bytes 4-7.
    std::vector<std::uint32_t> BlockOffsets() const {
        std::vector<std::uint32_t> offsets;
        for (const CoprocExchange& e : recorder.exchanges)
            if (e.commandName == "LOAD_BLOCK")
                offsets.push_back(
                    std::uint32_t(e.head[4] | e.head[5] << 8 | e.head[6] << 16 | e.head[7] << 24));
        return offsets;
    }

    QCoprocLink link;
};

// Stands between the link and the board and sets a co-processor fault just before the first
// request strobe that comes once armed() is true, outside the board's own callbacks.
class FaultAtRequest : public CountingBackend {
public:
    FaultAtRequest(Board& board, std::function<bool()> armed, std::string fault)
        : CountingBackend(board), m_target(board), m_armed(std::move(armed)),
          m_fault(std::move(fault)) {}

    void WriteRegister(XScaleBlock block, DWORD offset, DWORD value) override {
        if (block == XScaleBlock::Gpio && offset == GPSR0 && (value & kRequestBit) &&
            !m_fault.empty() && m_armed()) {
            EXPECT_EQ(m_target.Configure(m_fault), "");
            m_fault.clear();
        }
        CountingBackend::WriteRegister(block, offset, value);
    }

private:
    static constexpr DWORD kRequestBit = 1u << CoprocModel::kRequestLine;
    Board& m_target;
    std::function<bool()> m_armed;
    std::string m_fault;
};

TEST_F(DownloadTest, ImageGoesOutInBlocksOf4000) {
    const struct {
        std::size_t size;
        std::vector<std::uint32_t> offsets;
    } cases[] = {{0, {}}, {4000, {0}}, {4001, {0, 4000}}, {12345, {0, 4000, 8000, 12000}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(link.ResetAndSync());
        recorder.exchanges.clear();
        const auto image = TestCard::Pattern(c.size, unsigned(c.size));
        EXPECT_TRUE(link.DownloadImage(card.Write("image.bin", image).c_str())) << c.size;
        std::vector<std::string> commands{"LOAD_HEADER"};
        commands.insert(commands.end(), c.offsets.size(), "LOAD_BLOCK");
        commands.push_back("START");
        EXPECT_EQ(recorder.Commands(), commands) << c.size;
        EXPECT_EQ(BlockOffsets(), c.offsets) << c.size;
        EXPECT_EQ(board.Image(), image) << c.size;
        EXPECT_TRUE(board.ImageStarted()) << c.size;
    }
}

// The co-processor holds the file byte for byte, for sizes on each side of every block edge.
TEST_F(DownloadTest, ImageMatchesTheFileAroundEveryBlockEdge) {
    for (std::size_t size :
         {1u, 3999u, 4000u, 4001u, 7999u, 8000u, 8001u, 11999u, 12000u, 12001u}) {
        ASSERT_TRUE(link.ResetAndSync());
        const auto image = TestCard::Pattern(size, unsigned(size) * 7);
        ASSERT_TRUE(link.DownloadImage(card.Write("image.bin", image).c_str())) << size;
        const nlohmann::json state = board.State();
        EXPECT_EQ(state["image"]["size"], size);
        EXPECT_EQ(state["image"]["sha256"], Sha256::Hex(image.data(), image.size())) << size;
        EXPECT_TRUE(state["image"]["started"]) << size;
    }
}

TEST_F(DownloadTest, RefusedFramesStopTheDownloadBeforeTheStart) {
    const struct {
        const char* fault;
        std::vector<std::string> commands;
    } cases[] = {
        {"status.LOAD_HEADER=7", {"LOAD_HEADER"}},
        {"status.LOAD_HEADER=0,status.LOAD_BLOCK=9", {"LOAD_HEADER", "LOAD_BLOCK"}},
        {"status.LOAD_BLOCK=0,never_released=1", {"LOAD_HEADER"}},
    };
    const std::wstring path = card.Write("image.bin", TestCard::Pattern(9000));
    for (const auto& c : cases) {
        ASSERT_TRUE(link.ResetAndSync());
        recorder.exchanges.clear();
        Set(c.fault);
        EXPECT_FALSE(link.DownloadImage(path.c_str())) << c.fault;
        EXPECT_EQ(recorder.Commands(), c.commands) << c.fault;
        EXPECT_FALSE(board.ImageStarted()) << c.fault;
    }
}

// A co-processor that does not raise its ready line for the start command gets no start frame:
// the link polls 200 times, ends the request with the release strobe and counts the image as
// sent.
TEST_F(DownloadTest, StartNotAnsweredSendsNoStartFrameAndSucceeds) {
    const auto image = TestCard::Pattern(5000);
    const std::wstring path = card.Write("image.bin", image);
    int blocks = 0;
    recorder.onExchange = [&](const CoprocExchange& e) {
        blocks += e.commandName == "LOAD_BLOCK" ? 1 : 0;
    };
    FaultAtRequest backend(
        board, [&] { return blocks == 2; }, "never_ready=1");

    EXPECT_TRUE(link.DownloadImage(path.c_str()));

    EXPECT_EQ(recorder.Commands(),
              (std::vector<std::string>{"LOAD_HEADER", "LOAD_BLOCK", "LOAD_BLOCK"}));
    EXPECT_EQ(board.Image(), image);
    EXPECT_FALSE(board.ImageStarted());
    // The header and each block go out and their replies come in; no transfer follows them.
    EXPECT_EQ(recorder.TransferSizes(), (std::vector<DWORD>{16, 16, 4032, 16, 4032, 16}));
    std::vector<std::uint64_t> requests, releases;
    for (const auto& e : recorder.edges)
        if (e.level && e.gpio == CoprocModel::kRequestLine)
            requests.push_back(e.us);
        else if (e.level && e.gpio == CoprocModel::kReleaseLine)
            releases.push_back(e.us);
    ASSERT_EQ(requests.size(), 4u);
    ASSERT_EQ(releases.size(), 4u);
    EXPECT_EQ(releases.back() - requests.back(), 200000u);
}

TEST_F(DownloadTest, FileThatCannotBeOpenedSendsNothing) {
    for (const wchar_t* path : {L"\\Storage Card\\missing.bin",
                                L"\\Storage Card\\..\\..\\etc\\passwd", L"", L"\\Storage Card"}) {
        EXPECT_FALSE(link.DownloadImage(path));
    }
    EXPECT_TRUE(recorder.exchanges.empty());
    EXPECT_TRUE(recorder.transfers.empty());
    EXPECT_EQ(recorder.Rises(24), 0);
}

// A file cut short while it is read is not started as if it were whole.
TEST_F(DownloadTest, FileShortenedDuringTheDownloadIsNotStarted) {
    const std::wstring path = card.Write("image.bin", TestCard::Pattern(12000));
    recorder.onExchange = [&](const CoprocExchange& e) {
        if (e.commandName == "LOAD_BLOCK")
            std::filesystem::resize_file(card.HostPath("image.bin"), 6000);
    };
    EXPECT_FALSE(link.DownloadImage(path.c_str()));
    EXPECT_EQ(recorder.Commands(),
              (std::vector<std::string>{"LOAD_HEADER", "LOAD_BLOCK", "LOAD_BLOCK"}));
    EXPECT_FALSE(board.ImageStarted());
}

// On the host an open file keeps its bytes when its name is removed, so the download goes on
// and the co-processor gets the whole file.
TEST_F(DownloadTest, FileRemovedDuringTheDownloadArrivesWhole) {
    const auto image = TestCard::Pattern(12000);
    const std::wstring path = card.Write("image.bin", image);
    recorder.onExchange = [&](const CoprocExchange& e) {
        if (e.commandName == "LOAD_BLOCK")
            std::filesystem::remove(card.HostPath("image.bin"));
    };
    EXPECT_TRUE(link.DownloadImage(path.c_str()));
    EXPECT_FALSE(std::filesystem::exists(card.HostPath("image.bin")));
    EXPECT_EQ(board.Image(), image);
    EXPECT_TRUE(board.ImageStarted());
}

// The card pulled out after the first block: the next read fails, so the image is short and
// is not started; with the card back in, the same image goes whole.
TEST_F(DownloadTest, CardPulledOutDuringTheDownloadFailsAtTheNextRead) {
    const auto image = TestCard::Pattern(12000);
    const std::wstring path = card.Write("image.bin", image);
    recorder.onExchange = [&](const CoprocExchange& e) {
        if (e.commandName == "LOAD_BLOCK")
            CardSlot::Eject();
    };
    const bool whileOut = link.DownloadImage(path.c_str());
    recorder.onExchange = nullptr;
    const std::vector<std::string> commands = recorder.Commands();
    const bool inserted = CardSlot::Insert();
    EXPECT_FALSE(whileOut);
    EXPECT_TRUE(inserted);
    EXPECT_EQ(commands, (std::vector<std::string>{"LOAD_HEADER", "LOAD_BLOCK"}));
    EXPECT_FALSE(board.ImageStarted());

    ASSERT_TRUE(link.ResetAndSync());
    EXPECT_TRUE(link.DownloadImage(path.c_str()));
    EXPECT_EQ(board.Image(), image);
    EXPECT_TRUE(board.ImageStarted());
}

} // namespace
