#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "sim/control/ControlClient.h"
#include "sim/control/ControlServer.h"

namespace {

class ControlServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/norvane-control-test-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        m_dir = dir;
        m_socket = m_dir / "control.sock";
        m_server.Register("echo", [](const nlohmann::json& r) {
            return nlohmann::json{{"echo", r.value("value", nlohmann::json())}};
        });
        m_server.Register("fail", [](const nlohmann::json&) -> nlohmann::json {
            throw std::runtime_error("boom");
        });
        m_server.Register("count", [this](const nlohmann::json&) {
            return nlohmann::json{{"n", ++m_counted}};
        });
        ASSERT_EQ(m_server.Start(m_socket), "");
    }
    void TearDown() override {
        m_server.Stop();
        std::filesystem::remove_all(m_dir);
    }

    void Connect(ControlClient& client) { ASSERT_EQ(client.Connect(m_socket), ""); }

    std::filesystem::path m_dir;
    std::filesystem::path m_socket;
    ControlServer m_server;
    std::atomic<int> m_counted{0};
};

TEST_F(ControlServerTest, BadRequestsAreAnsweredAndTheConnectionGoesOn) {
    struct Case {
        const char* line;
        const char* error;
    };
    const Case cases[] = {
        {"not json at all", "request is not JSON"},
        {"{\"cmd\": \"echo\"", "request is not JSON"},
        {"[1, 2]", "request must be a JSON object with a \"cmd\" string"},
        {"{\"cmd\": 5}", "request must be a JSON object with a \"cmd\" string"},
        {"{\"value\": 1}", "request must be a JSON object with a \"cmd\" string"},
        {"{\"cmd\": \"launch-missiles\"}", "unknown command \"launch-missiles\""},
        {"{\"cmd\": \"fail\"}", "fail: boom"},
    };
    ControlClient client;
    Connect(client);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ASSERT_TRUE(client.SendRaw(std::string(c.line) + "\n"));
        std::string error;
        const auto answer = client.ReadAnswer(error);
        ASSERT_TRUE(answer) << error;
        EXPECT_EQ((*answer)["ok"], false);
        EXPECT_EQ((*answer)["error"], c.error);
    }
    std::string error;
    const auto answer = client.Request({{"cmd", "echo"}, {"value", 7}}, error);
    ASSERT_TRUE(answer) << error;
    EXPECT_EQ(*answer, (nlohmann::json{{"ok", true}, {"echo", 7}}));
}

TEST_F(ControlServerTest, SeveralRequestsInOneWriteAreAnsweredInOrder) {
    ControlClient client;
    Connect(client);
    ASSERT_TRUE(
        client.SendRaw("{\"cmd\":\"echo\",\"value\":1}\r\n\n  \n{\"cmd\":\"echo\",\"value\":2}\n"));
    for (int expected : {1, 2}) {
        std::string error;
        const auto answer = client.ReadAnswer(error);
        ASSERT_TRUE(answer) << error;
        EXPECT_EQ((*answer)["echo"], expected);
    }
}

TEST_F(ControlServerTest, RequestOfExactlyTheLimitIsServedOneByteMoreClosesTheConnection) {
    const std::string head = "{\"cmd\":\"echo\",\"value\":\"";
    const std::string tail = "\"}";
    const std::string atLimit =
        head + std::string(ControlServer::kMaxRequestBytes - head.size() - tail.size(), 'x') + tail;
    ASSERT_EQ(atLimit.size(), ControlServer::kMaxRequestBytes);

    ControlClient ok;
    Connect(ok);
    ASSERT_TRUE(ok.SendRaw(atLimit + "\n"));
    std::string error;
    auto answer = ok.ReadAnswer(error);
    ASSERT_TRUE(answer) << error;
    EXPECT_EQ((*answer)["ok"], true);

    // Over the limit, with and without a line end: refused, then the connection is closed.
    for (const std::string& line : {atLimit + " \n", std::string(3 * 65536, '{')}) {
        ControlClient tooLong;
        Connect(tooLong);
        tooLong.SendRaw(line);
        answer = tooLong.ReadAnswer(error);
        ASSERT_TRUE(answer) << error;
        EXPECT_EQ((*answer)["error"], "request longer than 65536 bytes");
        EXPECT_FALSE(tooLong.ReadAnswer(error));
    }
}

TEST_F(ControlServerTest, ClientsAreServedAtOnceAndOneLeavingMidRequestHarmsNoOther) {
    // A half-sent request holds up nobody; its client then vanishes mid-request.
    {
        ControlClient partial;
        Connect(partial);
        ASSERT_TRUE(partial.SendRaw("{\"cmd\":\"cou"));
        ControlClient other;
        Connect(other);
        std::string error;
        const auto answer = other.Request({{"cmd", "count"}}, error);
        ASSERT_TRUE(answer) << error;
        EXPECT_EQ((*answer)["n"], 1);
    }
    ControlClient after;
    Connect(after);
    std::string error;
    const auto answer = after.Request({{"cmd", "count"}}, error);
    ASSERT_TRUE(answer) << error;
    EXPECT_EQ((*answer)["n"], 2); // the cut-off request was never run
}

TEST_F(ControlServerTest, SocketIsPrivateAndStopClosesClientsAndRemovesIt) {
    struct stat st {};
    ASSERT_EQ(::stat(m_socket.c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    ControlClient idle;
    Connect(idle);
    m_server.Stop();
    std::string error;
    EXPECT_FALSE(idle.ReadAnswer(error));
    EXPECT_FALSE(std::filesystem::exists(m_socket));
}

TEST_F(ControlServerTest, LiveSocketIsNotTakenOverButALeftoverOneIs) {
    ControlServer second;
    EXPECT_EQ(second.Start(m_socket), "another simulator is already serving " + m_socket.string());

    // A socket file whose server is gone (as after a crash) is replaced.
    const std::filesystem::path stale = m_dir / "stale.sock";
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", stale.c_str());
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        ::close(fd);
    }
    ControlServer third;
    third.Register("echo", [](const nlohmann::json&) { return nlohmann::json{{"third", true}}; });
    ASSERT_EQ(third.Start(stale), "");
    ControlClient client;
    ASSERT_EQ(client.Connect(stale), "");
    std::string error;
    const auto answer = client.Request({{"cmd", "echo"}}, error);
    ASSERT_TRUE(answer) << error;
    EXPECT_EQ((*answer)["third"], true);
}

TEST_F(ControlServerTest, ConnectionsBeyondTheLimitAreToldSo) {
    std::vector<std::unique_ptr<ControlClient>> clients;
    for (std::size_t i = 0; i < ControlServer::kMaxClients; ++i) {
        clients.push_back(std::make_unique<ControlClient>());
        Connect(*clients.back());
        std::string error;
        ASSERT_TRUE(clients.back()->Request({{"cmd", "count"}}, error)) << error;
    }
    ControlClient extra;
    Connect(extra);
    std::string error;
    auto answer = extra.ReadAnswer(error);
    ASSERT_TRUE(answer) << error;
    EXPECT_EQ((*answer)["error"], "too many control connections (at most 16)");
}

} // namespace
