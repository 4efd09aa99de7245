// The storage card pulled out of its slot and put back: every file call on the card fails as
// for a folder that is gone, files opened before the eject stay failed, the rest of the device
// is untouched, and a reader on another thread never sees a torn state.
#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/kernel/CFile.h"
#include "platform/kernel/CardSlot.h"
#include "platform/kernel/DeviceStorage.h"
#include "platform/kernel/KernelSync.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/VersionInfo.h"
#include "testsupport/StorageTempDir.h"

namespace fs = std::filesystem;

namespace {

constexpr const wchar_t* kImage = L"\\Storage Card\\Norvane\\App\\NorvaneApp.bin";
constexpr const wchar_t* kEcho = L"\\Storage Card\\Norvane\\Echo\\EchoArgs.exe";
const std::string kImageBytes(9000, 'x');

// Every file on the card with its size and time: what the card's host folder holds.
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> Listing(const fs::path& dir) {
    std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        files[e.path().string()] = {e.is_regular_file() ? e.file_size() : 0, e.last_write_time()};
    return files;
}

// A card with an image and the echo program, a state root with a file of its own; the slot is
// put back whatever a test did with it.
class CardSlotTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir.Write("card/Norvane/App/NorvaneApp.bin", kImageBytes);
        fs::create_directories(Card() / "Norvane/Echo");
        fs::copy_file(ECHO_ARGS_PATH, Card() / "Norvane/Echo/EchoArgs.exe");
        fs::permissions(Card() / "Norvane/Echo/EchoArgs.exe", fs::perms::owner_all);
        m_dir.Write("state/root/Windows/Boot.txt", "boot");
        DeviceStorage::Configure(m_dir.Path() / "state", Card());
        ASSERT_TRUE(CardSlot::Inserted());
    }
    void TearDown() override {
        CardSlot::Insert();
        DeviceStorage::Configure({}, {});
    }
    fs::path Card() const { return m_dir.Path() / "card"; }

    StorageTempDir m_dir;
};

struct CallResult {
    bool ok;
    DWORD error;
};

CallResult OpenFile(const wchar_t* path) {
    CFile file;
    SetLastError(0);
    const bool ok = file.Open(path, CFile::modeRead);
    return {ok, GetLastError()};
}

TEST_F(CardSlotTest, EveryFileCallOnTheCardFailsWhileItIsOut) {
    const auto listing = Listing(Card());
    const struct {
        const char* call;
        std::function<CallResult()> run;
        DWORD errorIn;  // the last error of a failing call with the card in; 0: it succeeds
        DWORD errorOut; // the same with the card out
    } cases[] = {
        {"open a file", [] { return OpenFile(kImage); }, 0, ERROR_PATH_NOT_FOUND},
        {"open in other case",
         [] { return OpenFile(L"\\STORAGE CARD\\norvane\\app\\norvaneapp.BIN"); }, 0,
         ERROR_PATH_NOT_FOUND},
        {"open the card's folder", [] { return OpenFile(L"\\Storage Card"); }, ERROR_ACCESS_DENIED,
         ERROR_FILE_NOT_FOUND},
        {"open a missing file", [] { return OpenFile(L"\\Storage Card\\Norvane\\None.bin"); },
         ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND},
        {"open past the card", [] { return OpenFile(L"\\Storage Card\\..\\Windows\\Boot.txt"); }, 0,
         0},
        {"open off the card", [] { return OpenFile(L"\\Windows\\Boot.txt"); }, 0, 0},
        {"start a program",
         [] {
             SHELLEXECUTEINFO info{};
             info.cbSize = 60;
             info.fMask = SEE_MASK_NOCLOSEPROCESS;
             info.lpFile = kEcho;
             SetLastError(0);
             const bool ok = ShellExecuteEx(&info);
             const DWORD error = GetLastError();
             if (info.hProcess) {
                 WaitForSingleObject(info.hProcess, INFINITE);
                 CloseHandle(info.hProcess);
             }
             EXPECT_EQ(reinterpret_cast<std::uintptr_t>(info.hInstApp), ok ? 42u : 3u);
             return CallResult{ok, error};
         },
         0, ERROR_PATH_NOT_FOUND},
        {"version of a file",
         [] {
             SetLastError(0);
             GetFileVersionInfoSize(kImage, nullptr);
             const DWORD error = GetLastError();
             // A file with no resources, when it is there.
             return CallResult{error == DWORD(ERROR_RESOURCE_DATA_NOT_FOUND), error};
         },
         0, ERROR_PATH_NOT_FOUND},
        {"resolve",
         [] {
             DWORD refusal = 0;
             const bool ok = DeviceStorage::Resolve(kImage, &refusal).has_value();
             return CallResult{ok, refusal};
         },
         0, ERROR_PATH_NOT_FOUND},
    };
    for (bool out : {false, true, false}) {
        if (out)
            ASSERT_TRUE(CardSlot::Eject());
        else
            CardSlot::Insert();
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.call << (out ? ", card out" : ", card in"));
            const CallResult r = c.run();
            const DWORD expected = out ? c.errorOut : c.errorIn;
            EXPECT_EQ(r.ok, expected == 0) << "error " << r.error;
            if (expected != 0) {
                EXPECT_EQ(r.error, expected);
            }
        }
    }
    // Only read: the card's folder is as it was.
    EXPECT_EQ(Listing(Card()), listing);
}

TEST_F(CardSlotTest, AFileOpenedBeforeTheEjectStaysFailedAfterTheInsert) {
    CFile before;
    ASSERT_TRUE(before.Open(kImage, CFile::modeRead));
    CFile offCard;
    ASSERT_TRUE(offCard.Open(L"\\Windows\\Boot.txt", CFile::modeRead));
    char block[4000];
    ASSERT_EQ(before.Read(block, sizeof block), 4000u);

    ASSERT_TRUE(CardSlot::Eject());
    SetLastError(0);
    EXPECT_EQ(before.Read(block, sizeof block), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_READY));
    SetLastError(0);
    EXPECT_EQ(before.GetLength(), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_READY));
    EXPECT_EQ(offCard.Read(block, sizeof block), 4u) << "the device's own files stay";

    ASSERT_TRUE(CardSlot::Insert());
    EXPECT_EQ(before.Read(block, sizeof block), 0u) << "a handle of the old mount";
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_READY));
    CFile after;
    ASSERT_TRUE(after.Open(kImage, CFile::modeRead));
    EXPECT_EQ(after.GetLength(), kImageBytes.size());
    EXPECT_EQ(after.Read(block, sizeof block), 4000u);
    // Reopening the old object gives it the new mount.
    ASSERT_TRUE(before.Open(kImage, CFile::modeRead));
    EXPECT_EQ(before.Read(block, sizeof block), 4000u);
}

TEST_F(CardSlotTest, EjectAndInsertAreIdempotent) {
    const CardSlot::Mount first = CardSlot::Current();
    EXPECT_FALSE(CardSlot::Insert()) << "the card is in";
    EXPECT_EQ(CardSlot::Current(), first);
    EXPECT_TRUE(CardSlot::Eject());
    EXPECT_FALSE(CardSlot::Eject()) << "twice";
    EXPECT_FALSE(CardSlot::Inserted());
    EXPECT_FALSE(CardSlot::IsMounted(CardSlot::Current()));
    EXPECT_TRUE(CardSlot::Insert());
    EXPECT_FALSE(CardSlot::Insert());
    EXPECT_TRUE(CardSlot::Inserted());
    EXPECT_TRUE(CardSlot::IsMounted(CardSlot::Current()));
    EXPECT_FALSE(CardSlot::IsMounted(first)) << "the same card put back is a new mount";
}

// The control thread pulls the card out and puts it back while a device thread opens and reads
// the image: every read gives the file's next bytes or fails with ERROR_NOT_READY, a file that
// failed once reads nothing more, and with the card left in the reader gets the whole file.
TEST_F(CardSlotTest, ReadsRaceTheSlotSafely) {
    std::atomic<bool> toggling{true};
    std::atomic<bool> wholeAfterToggling{false};
    std::thread reader([&] {
        char block[4000];
        while (!wholeAfterToggling.load()) {
            const bool settled = !toggling.load();
            CFile file;
            if (!file.Open(kImage, CFile::modeRead)) {
                EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
                EXPECT_FALSE(settled);
                continue;
            }
            std::string read;
            while (const UINT n = file.Read(block, sizeof block))
                read.append(block, n);
            EXPECT_EQ(read, kImageBytes.substr(0, read.size()));
            if (read.size() < kImageBytes.size()) {
                EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_READY));
                EXPECT_EQ(file.Read(block, sizeof block), 0u);
                EXPECT_FALSE(settled);
            } else if (settled) {
                wholeAfterToggling = true;
            }
        }
    });
    for (int i = 0; i < 500; ++i) {
        EXPECT_TRUE(CardSlot::Eject());
        std::this_thread::yield();
        EXPECT_TRUE(CardSlot::Insert());
        std::this_thread::yield();
    }
    toggling = false;
    reader.join();
    EXPECT_TRUE(wholeAfterToggling.load());
}

} // namespace
