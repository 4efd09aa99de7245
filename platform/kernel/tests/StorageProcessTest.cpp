// Launched programs: ShellExecuteEx starts a real host program from the card with its
// parameters split by the platform's command-line rules, and its handle waits for it to exit.
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "platform/kernel/CString.h"
#include "platform/kernel/DeviceStorage.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/KernelSync.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Process.h"
#include "testsupport/StorageTempDir.h"

namespace fs = std::filesystem;

namespace {

constexpr const wchar_t* kEcho = L"\\Storage Card\\Norvane\\Echo\\EchoArgs.exe";

// A card holding the echo_args program, copied in (a link would lead out of the card).
class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(Card() / "Norvane/Echo");
        fs::copy_file(ECHO_ARGS_PATH, EchoHost());
        fs::permissions(EchoHost(), fs::perms::owner_all);
        m_dir.Write("card/Norvane/Echo/Readme.txt", "not a program");
        fs::create_directories(Card() / "Norvane/Folder.exe");
        DeviceStorage::Configure(m_dir.Path() / "state", Card());
        for (const char* name :
             {"ECHO_ARGS_OUT", "ECHO_ARGS_WAIT_FOR", "ECHO_ARGS_EXIT", "ECHO_ARGS_RAISE"})
            ::unsetenv(name);
    }
    void TearDown() override { DeviceStorage::Configure({}, {}); }

    fs::path Card() const { return m_dir.Path() / "card"; }
    fs::path EchoHost() const { return Card() / "Norvane/Echo/EchoArgs.exe"; }

    // Starts the echo program as the launcher does and waits for it without a time limit.
    HANDLE Start(const wchar_t* parameters) {
        SHELLEXECUTEINFO info{};
        info.cbSize = 60;
        info.fMask = SEE_MASK_NOCLOSEPROCESS;
        info.lpFile = kEcho;
        info.lpParameters = parameters;
        EXPECT_TRUE(ShellExecuteEx(&info));
        EXPECT_NE(info.hProcess, nullptr);
        return info.hProcess;
    }

    StorageTempDir m_dir;
};

TEST_F(LaunchTest, ParametersReachTheProgramSplitAsOnTheDevice) {
    const struct {
        const wchar_t* parameters;
        std::vector<std::string> args;
    } cases[] = {
        {nullptr, {}},
        {L"", {}},
        {L"   ", {}},
        {L"-demo", {"-demo"}},
        {L"a b\t\tc", {"a", "b", "c"}},
        {L"  lead trail  ", {"lead", "trail"}},
        {L"\"two words\" next", {"two words", "next"}},
        {L"a\"b c\"d", {"ab cd"}},
        {L"\"\"", {""}},
        {L"a \"\" b", {"a", "", "b"}},
        {L"\"unclosed quote", {"unclosed quote"}},
        {LR"(C:\dir\file.txt)", {R"(C:\dir\file.txt)"}},
        {LR"(trail\ next)", {R"(trail\)", "next"}},
        {LR"(a\"b)", {R"(a"b)"}},
        {LR"(a\\"b c")", {R"(a\b c)"}},
        {LR"(a\\\"b)", {R"(a\"b)"}},
        {LR"(a\\\\"b c")", {R"(a\\b c)"}},
        {LR"("in ""quoted"" text")", {R"(in "quoted" text)"}},
        {LR"("tail\\" next)", {R"(tail\)", "next"}},
        {L"確定 \"取 消\"", {"確定", "取 消"}},
        {L"; & | $HOME `id` *", {";", "&", "|", "$HOME", "`id`", "*"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parameters ? CString(c.parameters).ToUtf8() : "(null)");
        const fs::path out = m_dir.Path() / ("args" + std::to_string(n++) + ".json");
        ::setenv("ECHO_ARGS_OUT", out.c_str(), 1);
        HANDLE process = Start(c.parameters);
        ASSERT_EQ(WaitForSingleObject(process, INFINITE), WAIT_OBJECT_0);
        EXPECT_TRUE(CloseHandle(process));

        nlohmann::json expected = nlohmann::json::array({EchoHost().string()});
        for (const std::string& arg : c.args)
            expected.push_back(arg);
        EXPECT_EQ(nlohmann::json::parse(StorageTempDir::Read(out)), expected);
    }
}

TEST_F(LaunchTest, HandleSignalsWhenTheProgramEndsAndGivesItsExitCode) {
    const struct {
        const char* variable;
        const char* value;
        DWORD exitCode;
        const char* endField;
        int endValue;
    } cases[] = {
        {"ECHO_ARGS_EXIT", "7", 7, "exit_status", 7},
        {"ECHO_ARGS_RAISE", "15", 128 + 15, "signal", 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.variable);
        const fs::path gate = m_dir.Path() / (std::string("gate-") + c.variable);
        ::setenv("ECHO_ARGS_WAIT_FOR", gate.c_str(), 1);
        ::setenv(c.variable, c.value, 1);
        const auto seqBefore = EventLog::Instance().LastSeq();
        HANDLE process = Start(L"one \"two three\"");

        // The program waits at its gate: the handle is not signalled and the code says so.
        DWORD code = 0;
        ASSERT_TRUE(GetExitCodeProcess(process, &code));
        EXPECT_EQ(code, STILL_ACTIVE);
        EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_TIMEOUT);

        m_dir.Write(gate.filename(), "");
        ASSERT_EQ(WaitForSingleObject(process, INFINITE), WAIT_OBJECT_0);
        ASSERT_TRUE(GetExitCodeProcess(process, &code));
        EXPECT_EQ(code, c.exitCode);
        EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_OBJECT_0);

        const auto events = EventLog::Instance().Since(seqBefore);
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[0].kind, "process.started");
        EXPECT_EQ(events[0].fields["path"], CString(kEcho).ToUtf8());
        EXPECT_EQ(events[0].fields["host_path"], EchoHost().string());
        EXPECT_EQ(events[0].fields["args"], nlohmann::json::array({"one", "two three"}));
        EXPECT_EQ(events[1].kind, "process.ended");
        EXPECT_EQ(events[1].fields["pid"], events[0].fields["pid"]);
        EXPECT_EQ(events[1].fields[c.endField], c.endValue);

        EXPECT_TRUE(CloseHandle(process));
        SetLastError(0);
        EXPECT_FALSE(GetExitCodeProcess(process, &code));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
        ::unsetenv(c.variable);
    }
}

TEST_F(LaunchTest, AFileThatCannotRunFailsWithoutAHandle) {
    const struct {
        const wchar_t* file;
        DWORD error;
    } cases[] = {
        {L"\\Storage Card\\Norvane\\Zentra\\Zentra.exe", ERROR_FILE_NOT_FOUND},
        {L"", ERROR_FILE_NOT_FOUND},
        {nullptr, ERROR_FILE_NOT_FOUND},
        {L"/bin/true", ERROR_FILE_NOT_FOUND},
        {L"\\Storage Card\\..\\..\\..\\bin\\true", ERROR_FILE_NOT_FOUND},
        {L"\\Storage Card\\Norvane\\Echo\\Readme.txt", ERROR_ACCESS_DENIED},
        {L"\\Storage Card\\Norvane\\Folder.exe", ERROR_ACCESS_DENIED},
    };
    const auto eventsBefore = EventLog::Instance().Since().size();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file ? CString(c.file).ToUtf8() : "(null)");
        SHELLEXECUTEINFO info{};
        info.cbSize = 60;
        info.fMask = SEE_MASK_NOCLOSEPROCESS;
        info.lpFile = c.file;
        info.hProcess = reinterpret_cast<HANDLE>(1);
        SetLastError(0);
        EXPECT_FALSE(ShellExecuteEx(&info));
        EXPECT_EQ(info.hProcess, nullptr);
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(EventLog::Instance().Since().size(), eventsBefore);
}

} // namespace
