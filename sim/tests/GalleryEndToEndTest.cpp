// The widget kit's gallery on the simulated device (norvane-sim --app gallery), driven only
// through norvane-ctl as a person would: with the keypad alone, and with the stylus alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "SimProcess.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSpeed = 20;

class GalleryEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        char base[] = "/tmp/norvane-gallery-e2e-XXXXXX";
        ASSERT_NE(::mkdtemp(base), nullptr);
        m_base = base;
        fs::create_directories(m_base / "card");
        m_sim = std::make_unique<SimProcess>(m_base / "state", m_base / "card", kSpeed);
    }
    void TearDown() override {
        m_sim.reset();
        fs::remove_all(m_base);
    }

    void Start() {
        ASSERT_TRUE(m_sim->Start({"--app", "gallery"}))
            << m_sim->Wait() << ": " << m_sim->ErrorOutput();
        Wait("gallery.page.index=0");
    }
    std::string Ctl(const std::vector<std::string>& args) {
        const SimProcess::Output r = m_sim->Ctl(args);
        EXPECT_EQ(r.exitCode, 0) << "norvane-ctl " << args[0] << ": " << r.err;
        return r.out;
    }
    void Wait(const std::string& condition) {
        const SimProcess::Output r = m_sim->Ctl({"wait", condition, "--timeout", "30"});
        ASSERT_EQ(r.exitCode, 0) << condition << ": " << r.out << r.err;
    }
    nlohmann::json Status() { return nlohmann::json::parse(Ctl({"status"})); }

    fs::path m_base;
    std::unique_ptr<SimProcess> m_sim;
};

TEST_F(GalleryEndToEndTest, TheProgramIsChosenByNameAndAnUnknownNameIsRefused) {
    const SimProcess::Output help = SimProcess::RunProgram({NORVANE_SIM_PATH, "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--app"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("gallery"), std::string::npos) << help.out;

    const SimProcess::Output unknown =
        SimProcess::RunProgram({NORVANE_SIM_PATH, "--headless", "--app", "gizmo"});
    EXPECT_NE(unknown.exitCode, 0);
    EXPECT_NE(unknown.err.find("gizmo not in {launcher,gallery}"), std::string::npos)
        << unknown.err;

    Start();
    const nlohmann::json status = Status();
    EXPECT_EQ(status["gallery"]["page"]["title"], "1/3 Labels and gauge");
    EXPECT_EQ(status["state"], "closed") << "no launcher runs beside the gallery";
    EXPECT_EQ(m_sim->Stop(), 0) << m_sim->ErrorOutput();
}

} // namespace
